#include <new>

#include "image/dib.h"
#include "image/image_sources.h"
#include "image/picture_name.h"

namespace velk {

namespace {

HMODULE g_resourceModule = nullptr;

// Hands a decoder the memory of the Dib's DIB section.
class DibCanvas final : public PictureCanvas {
public:
    DibCanvas(Dib& dib, HDC dc) : dib_(dib), dc_(dc) {}
    bool Create(int32_t width, int32_t height, int32_t bitsPerPixel, PictureMemory* made) override {
        if (!dib_.Create(dc_, width, height, bitsPerPixel)) return false;
        *made = dib_.Memory();
        return true;
    }

private:
    Dib& dib_;
    HDC dc_;
};

void FillHeader(BITMAPINFOHEADER& header, int32_t width, int32_t signedHeight, int32_t bitsPerPixel) {
    header = BITMAPINFOHEADER{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = signedHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.biCompression = BI_RGB;
}

}  // namespace

void SetResourceModule(HMODULE module) { g_resourceModule = module; }
HMODULE ResourceModule() { return g_resourceModule; }

bool Dib::Create(HDC dc, int32_t pictureWidth, int32_t signedHeight, int32_t depth) {
    Destroy();
    DibLayout layout;
    if (!MakeDibLayout(pictureWidth, signedHeight, depth, &layout)) return false;
    std::unique_ptr<uint32_t[]> offsets(new (std::nothrow) uint32_t[static_cast<size_t>(layout.height)]);
    if (!offsets) return false;

    width = layout.width;
    height = layout.height;
    bitsPerPixel = layout.bitsPerPixel;
    rowLength = layout.rowLength;
    info = DibInfo{};
    FillHeader(info.header, width, signedHeight, bitsPerPixel);
    UINT usage = DIB_RGB_COLORS;
    if (bitsPerPixel == 8) {
        for (WORD i = 0; i < 256; ++i) info.colors.paletteIndices[i] = i;
        usage = DIB_PAL_COLORS;
    }
    void* bits = nullptr;
    bitmap.reset(CreateDIBSection(dc, bitmapInfo(), usage, &bits, nullptr, 0));
    if (!bitmap || !bits) {
        Destroy();
        return false;
    }
    pixels = static_cast<uint8_t*>(bits);
    FillRowOffsets(layout, offsets.get());
    rowOffsets = std::move(offsets);
    return true;
}

bool Dib::CreateFromPixels(const uint8_t* source, size_t sourceSize, HDC dc, int32_t pictureWidth,
                           int32_t signedHeight, int32_t depth, PixelLayout layout) {
    if (!Create(dc, pictureWidth, signedHeight, depth)) return false;
    if (CopyPixels(ByteSpan(source, sourceSize), layout, Memory())) return true;
    Destroy();
    return false;
}

PictureMemory Dib::Memory() const {
    DibLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitsPerPixel = bitsPerPixel;
    layout.rowLength = rowLength;
    layout.imageBytes = rowLength * static_cast<uint32_t>(height);
    layout.topDown = info.header.biHeight < 0;
    return PictureMemory{pixels, rowOffsets.get(), layout};
}

bool Dib::Load(const char* name, HDC dc) {
    if (!name) return false;
    bool loaded = false;
    // Integer resource ids have no text to look at.
    PictureSource source = IS_INTRESOURCE(name) ? PictureSource::Resource : PictureSourceOf(name);
    switch (source) {
        case PictureSource::BmpFile: loaded = LoadFile(name, dc, DecodeBmpFile); break;
        case PictureSource::PcxFile: loaded = LoadFile(name, dc, DecodePcxFile); break;
        case PictureSource::RidFile: loaded = LoadFile(name, dc, DecodeRidFile); break;
        case PictureSource::PidFile: loaded = LoadFile(name, dc, DecodePidFile); break;
        case PictureSource::Resource: loaded = LoadBitmapResource(name, dc); break;
    }
    if (!loaded) Destroy();
    return loaded;
}

bool Dib::LoadFile(const char* path, HDC dc, bool (*decode)(ByteSpan, PictureCanvas&)) {
    FileBytes file;
    if (!ReadWholeFile(path, kMaxPictureFileBytes, &file)) return false;
    DibCanvas canvas(*this, dc);
    return decode(file.span(), canvas);
}

bool Dib::LoadBitmapResource(const char* name, HDC dc) {
    ByteSpan resource = ResourceBytes(ResourceModule(), name, MAKEINTRESOURCEA(2));  // RT_BITMAP
    if (!resource.data) return false;
    DibCanvas canvas(*this, dc);
    return DecodePackedDib(resource, canvas);
}

void Dib::Destroy() {
    bitmap.reset();
    rowOffsets.reset();
    pixels = nullptr;
}

}  // namespace velk
