// PCX pictures: a 128-byte header, then run-length encoded scan lines, each
// holding the picture's planes one after the other.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "image/pcx_runs.h"
#include "image/picture_decode.h"

namespace velk {

namespace {

constexpr int32_t kPcxBitsPerPlane = 8;

// Bytes of one plane line: the stored line length, or the width when the
// field is smaller (a broken header must not make us write past a row).
size_t PlaneLineBytes(const PcxHeader& header, int32_t width) {
    return static_cast<size_t>(std::max(header.bytesPerLine, width));
}

void DecodeSinglePlane(const uint8_t*& in, const uint8_t* end, size_t lineBytes, const PixelRows& rows,
                       uint8_t* line) {
    const size_t width = static_cast<size_t>(rows.width);
    for (int32_t r = 0; r < rows.height && in < end; ++r) {
        if (lineBytes == width) {
            DecodePcxRuns(in, end, rows.Row(r), width);
        } else {
            // Padded lines: decode the whole line, keep the visible part.
            size_t got = DecodePcxRuns(in, end, line, lineBytes);
            memcpy(rows.Row(r), line, std::min(got, width));
        }
    }
}

void DecodeThreePlanes(const uint8_t*& in, const uint8_t* end, size_t lineBytes, const PixelRows& rows,
                       uint8_t* line) {
    const size_t width = static_cast<size_t>(rows.width);
    const uint8_t* red = line;
    const uint8_t* green = line + lineBytes;
    const uint8_t* blue = line + 2 * lineBytes;
    for (int32_t r = 0; r < rows.height && in < end; ++r) {
        size_t got = DecodePcxRuns(in, end, line, 3 * lineBytes);
        // A line cut short by the data's end keeps zeros where nothing came.
        if (got < 3 * lineBytes) memset(line + got, 0, 3 * lineBytes - got);
        uint8_t* dst = rows.Row(r);
        for (size_t x = 0; x < width; ++x) {
            dst[0] = blue[x];
            dst[1] = green[x];
            dst[2] = red[x];
            dst += 3;
        }
    }
}

}  // namespace

bool ReadPcxHeader(ByteSpan file, PcxHeader* header) {
    if (!file.Holds(0, kPcxHeaderSize)) return false;
    header->bitsPerPlane = file.U8(3);
    header->width = int32_t{file.I16(8)} - file.I16(4) + 1;
    header->height = int32_t{file.I16(10)} - file.I16(6) + 1;
    header->planes = file.U8(65);
    header->bytesPerLine = file.U16(66);
    return true;
}

bool DecodePcxLines(ByteSpan file, const PcxHeader& header, const PixelRows& rows) {
    if (header.planes != 1 && header.planes != 3) return true;  // such rows stay zero
    if (rows.bytesPerPixel != header.planes || rows.width <= 0) return true;
    const size_t lineBytes = PlaneLineBytes(header, rows.width);
    const size_t bufferBytes = lineBytes * static_cast<size_t>(header.planes);
    std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[bufferBytes]);
    if (!line) return false;

    ByteSpan lines = file.From(kPcxHeaderSize);
    const uint8_t* in = lines.data;
    const uint8_t* end = lines.data + lines.size;
    if (header.planes == 1) {
        DecodeSinglePlane(in, end, lineBytes, rows, line.get());
    } else {
        DecodeThreePlanes(in, end, lineBytes, rows, line.get());
    }
    return true;
}

bool DecodePcxFile(ByteSpan file, PictureCanvas& canvas) {
    PcxHeader header;
    if (!ReadPcxHeader(file, &header) || header.bitsPerPlane != kPcxBitsPerPlane) return false;
    PictureMemory picture;
    if (!CreateCountedRows(canvas, header.width, header.height, header.BitsPerPixel(), &picture)) return false;
    return DecodePcxLines(file, header, picture.Rows());
}

}  // namespace velk
