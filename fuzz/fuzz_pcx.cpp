#include "fuzz_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velk::fuzz::FuzzCanvas canvas;
    velk::ByteSpan file(data, size);
    bool made = velk::DecodePcxFile(file, canvas);
    velk::PcxHeader header;
    if (made) {
        // A picture is only ever made from a complete header of 8 bits a plane.
        velk::fuzz::Require(velk::ReadPcxHeader(file, &header) && header.bitsPerPlane == 8);
        velk::fuzz::Require(canvas.picture.memory.layout.width == header.width);
    }
    return 0;
}
