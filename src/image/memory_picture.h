// A picture in ordinary memory with the same layout and row table as the
// launcher's DIB sections: what tests, fuzzers and benchmarks decode into.
#pragma once
#include <vector>

#include "image/picture_decode.h"

namespace velk {

class MemoryPicture final : public PictureCanvas {
public:
    bool Create(int32_t width, int32_t height, int32_t bitsPerPixel, PictureMemory* made) override {
        DibLayout layout;
        if (!MakeDibLayout(width, height, bitsPerPixel, &layout)) return false;
        pixels.assign(layout.imageBytes, 0);
        rowOffsets.resize(static_cast<size_t>(layout.height));
        FillRowOffsets(layout, rowOffsets.data());
        memory = PictureMemory{pixels.data(), rowOffsets.data(), layout};
        *made = memory;
        return true;
    }

    const uint8_t* Row(int32_t r) const { return pixels.data() + rowOffsets[static_cast<size_t>(r)]; }

    PictureMemory memory;
    std::vector<uint8_t> pixels;
    std::vector<uint32_t> rowOffsets;
};

}  // namespace velk
