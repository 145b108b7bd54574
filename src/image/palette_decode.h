// 256-colour palettes from the bytes of PAL, PCX and BMP files and of
// "PALETTE" resources, and where a palette display's static colours go.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "image/byte_span.h"

namespace velk {

constexpr size_t kPaletteSize = 256;
constexpr size_t kRgbPaletteBytes = kPaletteSize * 3;

// Laid out like the system's palette entry: red, green, blue, flags.
struct PaletteColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};
using PaletteColors = std::array<PaletteColor, kPaletteSize>;

// 768 bytes of red, green, blue triplets widened to entries with flags 0.
PaletteColors ColorsFromRgb(const uint8_t* rgb);

// The 768 triplet bytes of each format, or nullptr when the data hold none:
// a PAL file is exactly 768 bytes; a PCX file keeps its palette in its last
// 768 bytes; a "PALETTE" resource in its first 768.
const uint8_t* RgbOfPalFile(ByteSpan file);
const uint8_t* RgbOfPcxFile(ByteSpan file);
const uint8_t* RgbOfPaletteResource(ByteSpan resource);

// The colour table after a BMP file's two headers (blue, green, red,
// reserved). False when the headers are incomplete or no colour follows;
// colours the file does not hold stay black.
bool ColorsOfBmpFile(ByteSpan file, PaletteColors* colors);

// Where ReserveStaticColors puts a palette display's static colours: the
// system palette's first `perEnd` entries at the start, its last `perEnd`
// (from highSystemFirst) at the end; entries [reservedFirst, reservedEnd) are
// the picture's own and get the reserved flag.
struct StaticColorLayout {
    uint32_t perEnd = 0;
    uint32_t highSystemFirst = 0;
    uint32_t reservedFirst = 0;
    uint32_t reservedEnd = 0;
};

// From the display's palette size and reserved-colour count, clamped so that
// nothing lands outside 256 entries or the system palette.
StaticColorLayout LayoutStaticColors(int32_t systemPaletteSize, int32_t reservedCount);

}  // namespace velk
