#include <new>

#include "image/dib.h"

namespace velk {

namespace {

constexpr size_t kListBlock = 10;

template <typename T>
T* Append(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> item) {
    if (list.size() == list.capacity()) list.reserve(list.size() + kListBlock);
    list.push_back(std::move(item));
    return list.back().get();
}

}  // namespace

void DibManager::Attach(HINSTANCE resourceModule, HWND dcWindow) {
    module = resourceModule;
    window = dcWindow;
}

Dib* DibManager::LoadDib(const char* name) {
    WindowDC dc(window);
    if (!dc) return nullptr;
    SetResourceModule(module);
    std::unique_ptr<Dib> dib(new (std::nothrow) Dib);
    bool loaded = dib && dib->Load(name, dc.get());
    if (savedPalette) {
        SelectPalette(dc.get(), savedPalette, FALSE);
        savedPalette = nullptr;
    }
    return loaded ? Append(dibs, std::move(dib)) : nullptr;
}

DibPalette* DibManager::LoadPalette(const char* name, uint32_t flags) {
    SetResourceModule(module);
    std::unique_ptr<DibPalette> palette(new (std::nothrow) DibPalette);
    if (!palette || !palette->Load(name, flags)) return nullptr;
    return Append(palettes, std::move(palette));
}

void DibManager::DeleteDibs() { dibs.clear(); }

void DibManager::DeletePalettes() {
    currentPalette = nullptr;
    palettes.clear();
}

void DibManager::ReleaseAll() {
    DeleteDibs();
    DeletePalettes();
    module = nullptr;
    window = nullptr;
}

}  // namespace velk
