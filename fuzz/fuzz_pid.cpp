#include "fuzz_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velk::fuzz::FuzzCanvas canvas;
    if (velk::DecodePidFile(velk::ByteSpan(data, size), canvas)) {
        velk::fuzz::Require(size >= velk::kPidHeaderSize && canvas.picture.memory.layout.bitsPerPixel == 8);
    }
    return 0;
}
