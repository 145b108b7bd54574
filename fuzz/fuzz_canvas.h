// The canvas fuzz targets decode into: plain memory of exactly the picture's
// size (so ASan sees any write past it), refusing pictures larger than a few
// megabytes to keep the fuzzer fast. The size limits themselves are unit-tested.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "fuzz_checks.h"
#include "image/memory_picture.h"

namespace velk::fuzz {

class FuzzCanvas final : public PictureCanvas {
public:
    static constexpr uint32_t kMaxBytes = 4u << 20;

    bool Create(int32_t width, int32_t height, int32_t bitsPerPixel, PictureMemory* made) override {
        DibLayout layout;
        if (!MakeDibLayout(width, height, bitsPerPixel, &layout) || layout.imageBytes > kMaxBytes) return false;
        return picture.Create(width, height, bitsPerPixel, made);
    }

    MemoryPicture picture;
};

}  // namespace velk::fuzz
