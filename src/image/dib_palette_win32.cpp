#include <cstring>

#include "image/dib.h"
#include "image/image_sources.h"
#include "image/picture_name.h"

namespace velk {

namespace {

constexpr size_t kBmpPaletteReadBytes = kBmpHeadersSize + kPaletteSize * 4;

// The system palette of the display, read through a device context on "DISPLAY".
class DisplaySystemPalette final : public SystemPalette {
public:
    DisplaySystemPalette() : dc_(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
    int32_t Size() override { return dc_ ? GetDeviceCaps(dc_.get(), SIZEPALETTE) : 0; }
    int32_t ReservedCount() override { return dc_ ? GetDeviceCaps(dc_.get(), NUMRESERVED) : 0; }
    void GetEntries(uint32_t first, uint32_t count, PALETTEENTRY* out) override {
        if (!dc_ || GetSystemPaletteEntries(dc_.get(), first, count, out) != count)
            memset(out, 0, count * sizeof(PALETTEENTRY));
    }

private:
    CreatedDC dc_;
};

bool LoadPalFile(DibPalette& palette, const char* path, uint32_t flags) {
    InputFile file(path);
    uint64_t size = 0;
    if (!file.Size(&size) || size != kRgbPaletteBytes) return false;
    uint8_t rgb[kRgbPaletteBytes];
    uint32_t got = file.ReadAt(0, rgb, sizeof(rgb));
    const uint8_t* colors = RgbOfPalFile(ByteSpan(rgb, got));
    return colors && palette.CreateFromRgb(colors, flags);
}

// The palette is the file's last 768 bytes; the marker byte before it is not checked.
bool LoadPcxPalette(DibPalette& palette, const char* path, uint32_t flags) {
    InputFile file(path);
    uint64_t size = 0;
    if (!file.Size(&size) || size < kRgbPaletteBytes) return false;
    uint8_t rgb[kRgbPaletteBytes];
    uint32_t got = file.ReadAt(size - kRgbPaletteBytes, rgb, sizeof(rgb));
    const uint8_t* colors = RgbOfPcxFile(ByteSpan(rgb, got));
    return colors && palette.CreateFromRgb(colors, flags);
}

bool LoadBmpPalette(DibPalette& palette, const char* path, uint32_t flags) {
    InputFile file(path);
    uint8_t head[kBmpPaletteReadBytes];
    uint32_t got = file.ReadAt(0, head, sizeof(head));
    PaletteColors colors;
    return ColorsOfBmpFile(ByteSpan(head, got), &colors) && palette.CreateFromEntries(colors, flags);
}

bool LoadPaletteResource(DibPalette& palette, const char* name, uint32_t flags) {
    const uint8_t* colors = RgbOfPaletteResource(ResourceBytes(ResourceModule(), name, "PALETTE"));
    return colors && palette.CreateFromRgb(colors, flags);
}

}  // namespace

bool IsPaletteDisplay() {
    CreatedDC info(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
    return info && (GetDeviceCaps(info.get(), RASTERCAPS) & RC_PALETTE) != 0;
}

void ResetSystemPalette() {
    LogPalette256 black;
    for (PALETTEENTRY& entry : black.entries) entry.peFlags = PC_NOCOLLAPSE;
    PaletteHandle blackPalette(CreatePalette(black.get()));
    if (!blackPalette) return;
    WindowDC screen(nullptr);
    if (!screen) return;
    SelectedPalette selected(screen.get(), blackPalette.get(), false);
    RealizePalette(screen.get());
}

void DibPalette::FillEntries(const PaletteColors& colors) {
    entries.version = 0x300;
    entries.count = 256;
    for (size_t i = 0; i < kPaletteSize; ++i) {
        entries.entries[i] = PALETTEENTRY{colors[i].red, colors[i].green, colors[i].blue, 0};
    }
}

bool DibPalette::MakeHandle() {
    palette.reset(CreatePalette(entries.get()));
    return palette.valid();
}

bool DibPalette::CreateFromEntries(const PaletteColors& colors, uint32_t flags) {
    FillEntries(colors);
    if (!(flags & kPaletteColorsAsGiven) && IsPaletteDisplay()) ReserveStaticColors();
    return MakeHandle();
}

bool DibPalette::CreateFromEntries(const PaletteColors& colors, uint32_t flags, SystemPalette* paletteDisplay) {
    FillEntries(colors);
    if (!(flags & kPaletteColorsAsGiven) && paletteDisplay) ReserveStaticColors(*paletteDisplay);
    return MakeHandle();
}

bool DibPalette::CreateFromRgb(const uint8_t* rgb, uint32_t flags) {
    return rgb && CreateFromEntries(ColorsFromRgb(rgb), flags);
}

bool DibPalette::Load(const char* name, uint32_t flags) {
    if (!name) return false;
    bool loaded = false;
    PaletteSource source = IS_INTRESOURCE(name) ? PaletteSource::Resource : PaletteSourceOf(name);
    switch (source) {
        case PaletteSource::BmpFile: loaded = LoadBmpPalette(*this, name, flags); break;
        case PaletteSource::PcxFile: loaded = LoadPcxPalette(*this, name, flags); break;
        case PaletteSource::PalFile: loaded = LoadPalFile(*this, name, flags); break;
        case PaletteSource::Resource: loaded = LoadPaletteResource(*this, name, flags); break;
    }
    if (!loaded) Destroy();
    return loaded;
}

void DibPalette::ReserveStaticColors() {
    ResetSystemPalette();
    DisplaySystemPalette system;
    ReserveStaticColors(system);
}

void DibPalette::ReserveStaticColors(SystemPalette& system) {
    const StaticColorLayout layout = LayoutStaticColors(system.Size(), system.ReservedCount());
    if (layout.perEnd > 0) {
        system.GetEntries(0, layout.perEnd, entries.entries);
        system.GetEntries(layout.highSystemFirst, layout.perEnd, entries.entries + kPaletteSize - layout.perEnd);
    }
    for (uint32_t i = layout.reservedFirst; i < layout.reservedEnd; ++i) entries.entries[i].peFlags = PC_RESERVED;
}

}  // namespace velk
