// The memory layout of a device-independent picture: row length, block size
// and the row table that turns a row number (0 = top) into a byte offset.
#pragma once
#include <cstddef>
#include <cstdint>

namespace velk {

// The largest picture we make. Row offsets are 32-bit and a 32-bit process
// has little address space, so anything larger is refused rather than tried.
constexpr int32_t kMaxPictureSide = 32768;
constexpr uint32_t kMaxPictureBytes = 128u << 20;

struct DibLayout {
    int32_t width = 0;
    int32_t height = 0;        // number of rows
    int32_t bitsPerPixel = 0;  // 8, 16, 24 or 32
    uint32_t rowLength = 0;    // bytes per row, a multiple of 4
    uint32_t imageBytes = 0;   // height * rowLength
    bool topDown = false;      // made from a negative height: row 0 first in memory
};

// Bytes per row: width * bytes per pixel rounded up to 4 (0 when it does not fit 32 bits).
uint32_t DibRowLength(int32_t width, int32_t bitsPerPixel);

// The layout for a width, a height as a DIB header holds it (negative = top
// row first) and a depth. False for pictures that cannot be made: width or
// height 0 or beyond kMaxPictureSide, a negative width, a depth other than
// 8, 16, 24 or 32, or more than kMaxPictureBytes of pixels.
bool MakeDibLayout(int32_t width, int32_t signedHeight, int32_t bitsPerPixel, DibLayout* layout);

// rowOffsets[r] = offset of image row r (row 0 is the top row), layout.height entries.
void FillRowOffsets(const DibLayout& layout, uint32_t* rowOffsets);

// Where a decoder writes: row r starts at pixels + rowOffsets[r] and holds
// width * bytesPerPixel bytes.
struct PixelRows {
    uint8_t* pixels = nullptr;
    const uint32_t* rowOffsets = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bytesPerPixel = 0;

    uint8_t* Row(int32_t r) const { return pixels + rowOffsets[r]; }
    size_t RowBytes() const { return static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel); }
};

}  // namespace velk
