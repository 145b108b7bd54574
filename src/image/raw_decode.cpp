// Pictures stored unencoded: RID files (packed 8-bit rows), BMP files and
// packed DIBs of bitmap resources (pixel blocks in DIB memory order).
#include <cstring>

#include "image/picture_decode.h"

namespace velk {

namespace {

constexpr size_t kDibPaletteBytes = 256 * 4;
constexpr uint32_t kBitFieldsCompression = 3;

void CopyPackedRows(ByteSpan source, const PixelRows& rows) {
    const size_t width = static_cast<size_t>(rows.width);
    const uint8_t* src = source.data;
    size_t left = source.size;
    for (int32_t r = 0; r < rows.height && left > 0; ++r) {
        size_t n = width < left ? width : left;
        memcpy(rows.Row(r), src, n);
        src += n;
        left -= n;
    }
}

}  // namespace

bool CopyPixels(ByteSpan source, PixelLayout layout, const PictureMemory& picture) {
    if (layout == PixelLayout::DibBlock) {
        if (source.size < picture.layout.imageBytes) return false;
        memcpy(picture.pixels, source.data, picture.layout.imageBytes);
        return true;
    }
    if (picture.layout.bitsPerPixel != 8) return false;  // packed rows are 8-bit
    CopyPackedRows(source, picture.Rows());
    return true;
}

bool ReadRidHeader(ByteSpan file, RidHeader* header) {
    if (!file.Holds(0, kRidHeaderSize)) return false;
    header->width = file.I32(8);
    header->height = file.I32(12);
    return true;
}

bool DecodeRidFile(ByteSpan file, PictureCanvas& canvas) {
    RidHeader header;
    if (!ReadRidHeader(file, &header)) return false;
    PictureMemory picture;
    if (!CreateCountedRows(canvas, header.width, header.height, 8, &picture)) return false;
    return CopyPixels(file.From(kRidHeaderSize), PixelLayout::PackedRows, picture);
}

bool ReadBmpHeader(ByteSpan file, BmpHeader* header) {
    if (!file.Holds(0, kBmpHeadersSize)) return false;
    header->pixelOffset = file.U32(10);
    header->width = file.I32(kBmpFileHeaderSize + 4);
    header->height = file.I32(kBmpFileHeaderSize + 8);
    header->bitsPerPixel = file.U16(kBmpFileHeaderSize + 14);
    return true;
}

bool DecodeBmpFile(ByteSpan file, PictureCanvas& canvas) {
    BmpHeader header;
    if (!ReadBmpHeader(file, &header)) return false;
    // An offset past the end leaves nothing to copy, which fails below.
    if (header.pixelOffset >= file.size) return false;
    PictureMemory picture;
    if (!canvas.Create(header.width, header.height, header.bitsPerPixel, &picture)) return false;
    return CopyPixels(file.From(header.pixelOffset), PixelLayout::DibBlock, picture);
}

bool ReadPackedDibHeader(ByteSpan resource, PackedDibHeader* header) {
    uint32_t headerSize = resource.U32(0);
    if (headerSize < kBmpInfoHeaderSize || !resource.Holds(0, headerSize)) return false;
    header->width = resource.I32(4);
    header->height = resource.I32(8);
    header->bitsPerPixel = resource.U16(14);
    uint64_t colorBytes;
    if (header->bitsPerPixel <= 8) {
        colorBytes = kDibPaletteBytes;  // our 8-bit pictures carry a full table
    } else {
        // True colour: only the optional table of "colours used", plus the
        // three masks of a bit-field picture with a 40-byte header.
        colorBytes = uint64_t{resource.U32(32)} * 4;
        if (resource.U32(16) == kBitFieldsCompression && headerSize == kBmpInfoHeaderSize) colorBytes += 12;
    }
    uint64_t offset = uint64_t{headerSize} + colorBytes;
    header->pixelOffset = offset > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(offset);
    return true;
}

bool DecodePackedDib(ByteSpan resource, PictureCanvas& canvas) {
    PackedDibHeader header;
    if (!ReadPackedDibHeader(resource, &header)) return false;
    if (header.pixelOffset >= resource.size) return false;
    PictureMemory picture;
    if (!canvas.Create(header.width, header.height, header.bitsPerPixel, &picture)) return false;
    return CopyPixels(resource.From(header.pixelOffset), PixelLayout::DibBlock, picture);
}

}  // namespace velk
