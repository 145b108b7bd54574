// Pictures in DIB sections and 256-entry logical palettes, loaded from the
// launcher's resources or from picture files, owned by one DibManager.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/win32_handles.h"
#include "image/palette_decode.h"
#include "image/picture_decode.h"

namespace velk {

// A BITMAPINFOHEADER and 256 colour slots. An 8-bit picture's slots begin
// with the palette indices 0..255 as 16-bit words: it is drawn through the
// selected palette (DIB_PAL_COLORS), never through a colour table of its own.
struct DibInfo {
    BITMAPINFOHEADER header;
    union {
        RGBQUAD rgb[256];
        WORD paletteIndices[256];
    } colors;
};
static_assert(sizeof(DibInfo) == 40 + 1024, "header and 256 four-byte slots");

class Dib {
public:
    Dib() = default;
    ~Dib() { Destroy(); }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    // A zeroed picture in a new DIB section; the height as a DIB header holds
    // it (negative: top row first in memory). Depths 8, 16, 24 and 32.
    bool Create(HDC dc, int32_t width, int32_t height, int32_t bitsPerPixel);
    // Create, then the pixels from `source` (at most sourceSize bytes are read).
    bool CreateFromPixels(const uint8_t* source, size_t sourceSize, HDC dc, int32_t width, int32_t height,
                          int32_t bitsPerPixel, PixelLayout layout);
    // A picture file (".BMP", ".PCX", ".RID", ".PID") or else a bitmap resource
    // of the resource module (SetResourceModule). Leaves nothing on failure.
    bool Load(const char* name, HDC dc);
    void Destroy();

    const BITMAPINFO* bitmapInfo() const { return reinterpret_cast<const BITMAPINFO*>(&info); }
    PictureMemory Memory() const;

    DibInfo info = {};
    BitmapHandle bitmap;  // owns the pixel memory
    uint8_t* pixels = nullptr;
    std::unique_ptr<uint32_t[]> rowOffsets;  // height entries, row 0 = top
    int32_t width = 0;
    int32_t height = 0;  // rows
    int32_t bitsPerPixel = 0;
    uint32_t rowLength = 0;

private:
    bool LoadFile(const char* path, HDC dc, bool (*decode)(ByteSpan, PictureCanvas&));
    bool LoadBitmapResource(const char* name, HDC dc);
};

// Flags of palette creation.
constexpr uint32_t kPaletteColorsAsGiven = 1;  // clear: make room for a palette display's static colours

// The system palette as ReserveStaticColors reads it; tests stand in a palette display.
class SystemPalette {
public:
    virtual ~SystemPalette() = default;
    virtual int32_t Size() = 0;           // SIZEPALETTE
    virtual int32_t ReservedCount() = 0;  // NUMRESERVED
    virtual void GetEntries(uint32_t first, uint32_t count, PALETTEENTRY* out) = 0;
};

// A LOGPALETTE with room for all 256 entries.
struct LogPalette256 {
    WORD version = 0x300;
    WORD count = 256;
    PALETTEENTRY entries[256] = {};

    const LOGPALETTE* get() const { return reinterpret_cast<const LOGPALETTE*>(this); }
};

class DibPalette {
public:
    DibPalette() = default;
    DibPalette(const DibPalette&) = delete;
    DibPalette& operator=(const DibPalette&) = delete;

    bool CreateFromEntries(const PaletteColors& colors, uint32_t flags);
    // The same with the system palette given: null stands for a true-colour display.
    bool CreateFromEntries(const PaletteColors& colors, uint32_t flags, SystemPalette* paletteDisplay);
    bool CreateFromRgb(const uint8_t* rgb, uint32_t flags);  // 768 bytes
    // A palette file (".BMP", ".PCX", ".PAL") or else a "PALETTE" resource of
    // the resource module. Leaves no handle on failure.
    bool Load(const char* name, uint32_t flags);
    void Destroy() { palette.reset(); }

    // Puts the display's static colours at both ends of `entries` and marks
    // the picture's own colours between them PC_RESERVED.
    void ReserveStaticColors();
    void ReserveStaticColors(SystemPalette& system);

    PaletteHandle palette;
    LogPalette256 entries;

private:
    void FillEntries(const PaletteColors& colors);
    bool MakeHandle();
};

bool IsPaletteDisplay();
// Realizes an all-black palette on the screen, so that the system palette
// holds nothing of earlier pictures.
void ResetSystemPalette();

// The module whose resources Load looks in; set by DibManager before each load.
void SetResourceModule(HMODULE module);
HMODULE ResourceModule();

class DibManager {
public:
    DibManager() = default;
    ~DibManager() { ReleaseAll(); }
    DibManager(const DibManager&) = delete;
    DibManager& operator=(const DibManager&) = delete;

    void Attach(HINSTANCE resourceModule, HWND dcWindow);
    // Pointers stay valid until DeleteDibs, DeletePalettes or ReleaseAll.
    Dib* LoadDib(const char* name);
    DibPalette* LoadPalette(const char* name, uint32_t flags);  // leaves currentPalette alone
    void DeleteDibs();
    void DeletePalettes();  // clears currentPalette too
    void ReleaseAll();

    HINSTANCE module = nullptr;
    HWND window = nullptr;
    HPALETTE savedPalette = nullptr;  // selected out by drawing, not owned
    std::vector<std::unique_ptr<Dib>> dibs;
    std::vector<std::unique_ptr<DibPalette>> palettes;
    DibPalette* currentPalette = nullptr;  // one of `palettes`, set by the caller
};

}  // namespace velk
