#include "image/palette_decode.h"

#include <algorithm>

#include "image/picture_decode.h"

namespace velk {

PaletteColors ColorsFromRgb(const uint8_t* rgb) {
    PaletteColors colors;
    for (size_t i = 0; i < kPaletteSize; ++i, rgb += 3) colors[i] = PaletteColor{rgb[0], rgb[1], rgb[2], 0};
    return colors;
}

const uint8_t* RgbOfPalFile(ByteSpan file) { return file.size == kRgbPaletteBytes ? file.data : nullptr; }

const uint8_t* RgbOfPcxFile(ByteSpan file) {
    return file.size >= kRgbPaletteBytes ? file.data + file.size - kRgbPaletteBytes : nullptr;
}

const uint8_t* RgbOfPaletteResource(ByteSpan resource) {
    return resource.size >= kRgbPaletteBytes ? resource.data : nullptr;
}

bool ColorsOfBmpFile(ByteSpan file, PaletteColors* colors) {
    ByteSpan table = file.From(kBmpHeadersSize);
    if (table.size == 0) return false;
    size_t whole = std::min(table.size / 4, kPaletteSize);
    *colors = PaletteColors{};
    for (size_t i = 0; i < whole; ++i) {
        const uint8_t* quad = table.data + 4 * i;
        (*colors)[i] = PaletteColor{quad[2], quad[1], quad[0], 0};
    }
    return true;
}

StaticColorLayout LayoutStaticColors(int32_t systemPaletteSize, int32_t reservedCount) {
    StaticColorLayout layout;
    uint32_t size = systemPaletteSize > 0 ? static_cast<uint32_t>(systemPaletteSize) : 0;
    uint32_t used = std::min<uint32_t>(size, kPaletteSize);
    uint32_t perEnd = reservedCount > 0 ? static_cast<uint32_t>(reservedCount) / 2 : 0;
    perEnd = std::min(perEnd, used / 2);
    layout.perEnd = perEnd;
    layout.highSystemFirst = size - perEnd;
    layout.reservedFirst = perEnd;
    layout.reservedEnd = used - perEnd;
    return layout;
}

}  // namespace velk
