#include <string>

#include "fuzz_canvas.h"
#include "image/palette_decode.h"
#include "image/picture_name.h"

using velk::fuzz::Require;

namespace {

void TripletsOf(const uint8_t* (*find)(velk::ByteSpan), velk::ByteSpan bytes) {
    const uint8_t* rgb = find(bytes);
    if (!rgb) return;
    Require(rgb >= bytes.data && rgb + velk::kRgbPaletteBytes <= bytes.data + bytes.size);
    velk::PaletteColors colors = velk::ColorsFromRgb(rgb);
    Require(colors[255].blue == rgb[767]);
}

int32_t I32At(const uint8_t* data, size_t size, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && at + i < size; ++i) v |= uint32_t{data[at + i]} << (8 * i);
    return static_cast<int32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velk::ByteSpan bytes(data, size);
    TripletsOf(velk::RgbOfPalFile, bytes);
    TripletsOf(velk::RgbOfPcxFile, bytes);
    TripletsOf(velk::RgbOfPaletteResource, bytes);
    velk::PaletteColors colors;
    velk::ColorsOfBmpFile(bytes, &colors);

    // The first eight bytes as a display's palette size and reserved count.
    int32_t paletteSize = I32At(data, size, 0), reserved = I32At(data, size, 4);
    velk::StaticColorLayout layout = velk::LayoutStaticColors(paletteSize, reserved);
    Require(layout.reservedFirst <= layout.reservedEnd);
    Require(layout.reservedEnd + layout.perEnd <= velk::kPaletteSize);
    if (layout.perEnd) Require(uint64_t{layout.highSystemFirst} + layout.perEnd <= uint64_t(paletteSize));

    // The bytes as a picture or palette name.
    std::string name(reinterpret_cast<const char*>(data), size);
    velk::PictureSourceOf(name.c_str());
    velk::PaletteSourceOf(name.c_str());
    return 0;
}
