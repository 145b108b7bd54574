#include "image/picture_name.h"

#include <cstring>

namespace velk {

namespace {

bool SameTextIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 'a' + 'A') : *a;
        char y = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 'a' + 'A') : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

template <typename Source>
struct Extension {
    const char* text;
    Source source;
};

// Tried in this order, as the dispatch table lists them.
constexpr Extension<PictureSource> kPictureExtensions[] = {
    {".BMP", PictureSource::BmpFile},
    {".PCX", PictureSource::PcxFile},
    {".RID", PictureSource::RidFile},
    {".PID", PictureSource::PidFile},
};
constexpr Extension<PaletteSource> kPaletteExtensions[] = {
    {".BMP", PaletteSource::BmpFile},
    {".PCX", PaletteSource::PcxFile},
    {".PAL", PaletteSource::PalFile},
};

template <typename Source, size_t N>
Source SourceOf(const char* name, const Extension<Source> (&table)[N], Source otherwise) {
    const char* dot = name ? strrchr(name, '.') : nullptr;
    if (!dot) return otherwise;
    for (const Extension<Source>& row : table) {
        if (SameTextIgnoringCase(dot, row.text)) return row.source;
    }
    return otherwise;
}

}  // namespace

PictureSource PictureSourceOf(const char* name) {
    return SourceOf(name, kPictureExtensions, PictureSource::Resource);
}

PaletteSource PaletteSourceOf(const char* name) {
    return SourceOf(name, kPaletteExtensions, PaletteSource::Resource);
}

}  // namespace velk
