#include "image/picture_layout.h"

namespace velk {

namespace {

bool IsSupportedDepth(int32_t bitsPerPixel) {
    return bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

}  // namespace

uint32_t DibRowLength(int32_t width, int32_t bitsPerPixel) {
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel / 8);
    bytes = (bytes + 3) & ~uint64_t{3};
    return bytes > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}

bool MakeDibLayout(int32_t width, int32_t signedHeight, int32_t bitsPerPixel, DibLayout* layout) {
    if (!IsSupportedDepth(bitsPerPixel)) return false;
    if (width <= 0 || width > kMaxPictureSide) return false;
    // Compared before negating: -INT32_MIN does not exist.
    if (signedHeight == 0 || signedHeight < -kMaxPictureSide || signedHeight > kMaxPictureSide) return false;
    int32_t rows = signedHeight < 0 ? -signedHeight : signedHeight;
    uint32_t rowLength = DibRowLength(width, bitsPerPixel);
    uint64_t imageBytes = static_cast<uint64_t>(rowLength) * static_cast<uint64_t>(rows);
    if (imageBytes > kMaxPictureBytes) return false;

    layout->width = width;
    layout->height = rows;
    layout->bitsPerPixel = bitsPerPixel;
    layout->rowLength = rowLength;
    layout->imageBytes = static_cast<uint32_t>(imageBytes);
    layout->topDown = signedHeight < 0;
    return true;
}

void FillRowOffsets(const DibLayout& layout, uint32_t* rowOffsets) {
    // Bottom-up pictures keep the top row last in memory.
    uint32_t offset = layout.topDown ? 0 : layout.imageBytes - layout.rowLength;
    for (int32_t r = 0; r < layout.height; ++r) {
        rowOffsets[r] = offset;
        if (layout.topDown) {
            offset += layout.rowLength;
        } else {
            offset -= layout.rowLength;
        }
    }
}

}  // namespace velk
