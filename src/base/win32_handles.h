// Thin non-copyable owners for the Win32 handle kinds the launcher uses.
// Each frees exactly what it owns, once; nothing else frees these handles.
#pragma once
#include <windows.h>
#include <utility>

namespace velk {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    bool valid() const { return Traits::IsValid(handle_); }
    explicit operator bool() const { return valid(); }

    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        Handle old = std::exchange(handle_, h);
        if (Traits::IsValid(old)) Traits::Close(old);
    }
    // For out-parameters of create functions: frees the old handle first.
    Handle* put() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};

// Kernel object handles whose "none" value is NULL (processes, threads).
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

// Handles whose "none" value is INVALID_HANDLE_VALUE (files, snapshots).
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { FindClose(h); }
};

struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE h) { return h != nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};

template <typename T>
struct GdiObjectTraits {
    static T Invalid() { return nullptr; }
    static bool IsValid(T h) { return h != nullptr; }
    static void Close(T h) { DeleteObject(h); }
};

// Device and information contexts made by CreateDC or CreateIC.
struct CreatedDCTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

// Movable global memory, as the clipboard takes it (after which it is the clipboard's).
struct GlobalMemoryTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static bool IsValid(HGLOBAL h) { return h != nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};

using RegKey = UniqueHandle<HKEY, RegKeyTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using FindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using ModuleHandle = UniqueHandle<HMODULE, ModuleTraits>;
using PaletteHandle = UniqueHandle<HPALETTE, GdiObjectTraits<HPALETTE>>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using FontHandle = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using GlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;
using CreatedDC = UniqueHandle<HDC, CreatedDCTraits>;

// A window's device context, released to its window.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context, deleted at the end.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A palette selected into a context; the displaced palette goes back at the end.
class SelectedPalette {
public:
    SelectedPalette(HDC dc, HPALETTE palette, bool forceBackground)
        : dc_(dc), previous_(dc && palette ? SelectPalette(dc, palette, forceBackground) : nullptr) {}
    ~SelectedPalette() {
        if (previous_) SelectPalette(dc_, previous_, FALSE);
    }
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;
    HPALETTE previous() const { return previous_; }

private:
    HDC dc_;
    HPALETTE previous_;
};

// The error mode that keeps the system's own boxes away ("insert a disk",
// "cannot find the file"): a probe of a drive or file answers, never asks.
constexpr UINT kNoSystemBoxes = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

// The error mode for the lifetime of the object.
class ScopedErrorMode {
public:
    explicit ScopedErrorMode(UINT mode) : previous_(SetErrorMode(mode)) {}
    ~ScopedErrorMode() { SetErrorMode(previous_); }
    ScopedErrorMode(const ScopedErrorMode&) = delete;
    ScopedErrorMode& operator=(const ScopedErrorMode&) = delete;

private:
    UINT previous_;
};

}  // namespace velk
