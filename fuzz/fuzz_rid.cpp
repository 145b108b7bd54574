#include "fuzz_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velk::ByteSpan file(data, size);
    velk::fuzz::FuzzCanvas canvas;
    velk::DecodeRidFile(file, canvas);
    // The same bytes as pixel sources of a fixed picture, in both layouts.
    velk::fuzz::FuzzCanvas fixed;
    velk::PictureMemory memory;
    if (fixed.Create(7, 5, 8, &memory)) {
        velk::CopyPixels(file, velk::PixelLayout::PackedRows, memory);
        bool copied = velk::CopyPixels(file, velk::PixelLayout::DibBlock, memory);
        velk::fuzz::Require(copied == (size >= memory.layout.imageBytes));
    }
    return 0;
}
