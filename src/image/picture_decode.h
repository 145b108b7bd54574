// Picture files decoded from bytes in memory into pixel rows. The memory the
// rows live in comes from a canvas: a DIB section in the launcher, plain
// memory in tests and tools. Every decoder stops at the end of its data and
// never writes outside the rows; rows that get no data keep their zeros.
#pragma once
#include <cstdint>

#include "image/byte_span.h"
#include "image/picture_layout.h"

namespace velk {

// A made picture as a decoder sees it.
struct PictureMemory {
    uint8_t* pixels = nullptr;
    const uint32_t* rowOffsets = nullptr;
    DibLayout layout;

    PixelRows Rows() const {
        return PixelRows{pixels, rowOffsets, layout.width, layout.height, layout.bitsPerPixel / 8};
    }
};

class PictureCanvas {
public:
    virtual ~PictureCanvas() = default;
    // Makes a zeroed picture; the height as a DIB header holds it (negative:
    // top row first in memory). False when the picture cannot be made.
    virtual bool Create(int32_t width, int32_t height, int32_t bitsPerPixel, PictureMemory* made) = 0;
};

// PCX, PID and RID heights count rows, top row first: a negative one is a
// broken file, not a top-down picture.
inline bool CreateCountedRows(PictureCanvas& canvas, int32_t width, int32_t rows, int32_t bitsPerPixel,
                              PictureMemory* made) {
    return rows > 0 && canvas.Create(width, rows, bitsPerPixel, made);
}

// How source pixels of CopyPixels are laid out.
enum class PixelLayout {
    DibBlock,    // rows of rowLength bytes in the picture's own memory order
    PackedRows,  // 8-bit rows of exactly width bytes, top row first
};

// A DIB block needs all imageBytes (false otherwise, nothing copied); packed
// rows copy as many rows as the source holds.
bool CopyPixels(ByteSpan source, PixelLayout layout, const PictureMemory& picture);

// --- PCX: 8 bits per plane, 1 plane (8-bit indices) or 3 (24-bit BGR) ---
constexpr size_t kPcxHeaderSize = 128;

struct PcxHeader {
    int32_t width = 0;         // Xmax - Xmin + 1 (0 or less for a broken file)
    int32_t height = 0;        // Ymax - Ymin + 1
    int32_t bitsPerPlane = 0;
    int32_t planes = 0;
    int32_t bytesPerLine = 0;  // per plane line, as stored (odd widths are padded)
    int32_t BitsPerPixel() const { return 8 * planes; }
};

// False when the file is shorter than its header.
bool ReadPcxHeader(ByteSpan file, PcxHeader* header);
// Decodes the scan lines into rows made for the header. Plane counts other
// than 1 and 3 leave the rows at zero. False only when memory runs out.
bool DecodePcxLines(ByteSpan file, const PcxHeader& header, const PixelRows& rows);
bool DecodePcxFile(ByteSpan file, PictureCanvas& canvas);

// --- PID: 8-bit, skip-run or PCX-style run-length encoding ---
constexpr size_t kPidHeaderSize = 32;
constexpr uint32_t kPidSkipRuns = 0x20;
constexpr uint32_t kPidFillPresent = 0x100;

struct PidHeader {
    uint32_t flags = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t fillPixel = 0;  // the fill value's low byte with kPidFillPresent, else 0
};

bool ReadPidHeader(ByteSpan file, PidHeader* header);
void DecodePidPixels(ByteSpan file, const PidHeader& header, const PixelRows& rows);
bool DecodePidFile(ByteSpan file, PictureCanvas& canvas);

// --- RID: 8-bit packed rows, top row first ---
constexpr size_t kRidHeaderSize = 32;

struct RidHeader {
    int32_t width = 0;
    int32_t height = 0;
};

bool ReadRidHeader(ByteSpan file, RidHeader* header);
bool DecodeRidFile(ByteSpan file, PictureCanvas& canvas);

// --- BMP files: the pixel block at the file header's offset, as stored ---
constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;
constexpr size_t kBmpHeadersSize = kBmpFileHeaderSize + kBmpInfoHeaderSize;

struct BmpHeader {
    uint32_t pixelOffset = 0;  // from the start of the file
    int32_t width = 0;
    int32_t height = 0;        // negative: top row first
    int32_t bitsPerPixel = 0;
};

// False when the file does not hold both headers.
bool ReadBmpHeader(ByteSpan file, BmpHeader* header);
// False unless the file holds the whole pixel block.
bool DecodeBmpFile(ByteSpan file, PictureCanvas& canvas);

// --- Packed DIB (bitmap resource): info header, colour table, pixels ---
struct PackedDibHeader {
    uint32_t pixelOffset = 0;  // from the start of the resource
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
};

// False when the resource does not hold an info header of at least 40 bytes.
bool ReadPackedDibHeader(ByteSpan resource, PackedDibHeader* header);
// False unless the resource holds the whole pixel block.
bool DecodePackedDib(ByteSpan resource, PictureCanvas& canvas);

}  // namespace velk
