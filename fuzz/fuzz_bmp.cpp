#include "fuzz_canvas.h"

// Each input is tried both as a BMP file and as the packed DIB of a bitmap resource.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velk::ByteSpan bytes(data, size);
    velk::fuzz::FuzzCanvas file;
    if (velk::DecodeBmpFile(bytes, file)) {
        velk::BmpHeader header;
        velk::fuzz::Require(velk::ReadBmpHeader(bytes, &header));
        velk::fuzz::Require(uint64_t{header.pixelOffset} + file.picture.memory.layout.imageBytes <= size);
    }
    velk::fuzz::FuzzCanvas resource;
    if (velk::DecodePackedDib(bytes, resource)) {
        velk::PackedDibHeader header;
        velk::fuzz::Require(velk::ReadPackedDibHeader(bytes, &header));
        velk::fuzz::Require(uint64_t{header.pixelOffset} + resource.picture.memory.layout.imageBytes <= size);
    }
    return 0;
}
