#include "display/renderer_host_win32.h"

#include <windows.h>

#include "base/file_search.h"
#include "base/guarded_call_win32.h"
#include "base/utf8.h"
#include "base/win32_handles.h"

namespace velk {

namespace {

constexpr UINT kDescriptionStringId = 5;
constexpr int kDescriptionLength = 255;

const void* FindExport(HMODULE module, const char* name) {
    return reinterpret_cast<const void*>(GetProcAddress(module, name));
}

bool IsReadableProtection(DWORD protect) {
    if (protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
    return (protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                       PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
}

class LoadedRenderer final : public RendererModule {
public:
    LoadedRenderer(ModuleHandle module, const void* getModes, const void* freeModes)
        : module_(std::move(module)), getModes_(getModes), freeModes_(freeModes) {}
    ~LoadedRenderer() override {
        if (keepLoaded_) module_.release();
    }

    std::string Description() override {
        char text[kDescriptionLength];
        int length = LoadStringA(module_.get(), kDescriptionStringId, text, kDescriptionLength);
        return length > 0 ? std::string(text, length) : std::string();
    }

    // Both exports take the caller-cleans convention; they are called through
    // the guard, so a module that faults or pops its own arguments is only
    // left out.
    bool GetSupportedModes(uint32_t* first) override {
        ForeignResult called = Guarded(getModes_, {});
        *first = called.ok() ? static_cast<uint32_t>(called.value) : 0;
        return called.ok();
    }

    bool FreeModeList(uint32_t first) override { return Guarded(freeModes_, {first}).ok(); }

    // A module may hand over any address; only committed, readable memory is read.
    const uint8_t* RecordAt(uint32_t address) override {
        uintptr_t begin = address;
        if (!IsReadable(begin, kModeRecordSize)) return nullptr;
        return reinterpret_cast<const uint8_t*>(begin);
    }

private:
    // A module that did not return cleanly may have threads of its own still
    // running in it: it stays loaded until the process ends.
    ForeignResult Guarded(const void* function, std::initializer_list<uintptr_t> arguments) {
        ForeignResult result = CallForeign(function, arguments);
        if (!result.ok()) keepLoaded_ = true;
        return result;
    }

    bool IsReadable(uintptr_t begin, size_t size) {
        uintptr_t end = begin + size;
        if (end < begin) return false;
        if (begin >= readableBegin_ && end <= readableEnd_) return true;
        for (uintptr_t at = begin; at < end;) {
            MEMORY_BASIC_INFORMATION info;
            if (VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof(info)) != sizeof(info)) return false;
            if (info.State != MEM_COMMIT || !IsReadableProtection(info.Protect)) return false;
            uintptr_t regionBegin = reinterpret_cast<uintptr_t>(info.BaseAddress);
            uintptr_t regionEnd = regionBegin + info.RegionSize;
            // Records of one list usually share a region: remember it.
            readableBegin_ = regionBegin;
            readableEnd_ = regionEnd;
            at = regionEnd;
        }
        return true;
    }

    ModuleHandle module_;
    const void* getModes_;
    const void* freeModes_;
    bool keepLoaded_ = false;
    uintptr_t readableBegin_ = 0;
    uintptr_t readableEnd_ = 0;
};

class Win32Host final : public RendererHost {
public:
    std::vector<std::string> FindFiles(const std::string& pattern) override {
        return FindFilesByExtension(WideFromAnsi(pattern));
    }

    std::unique_ptr<RendererModule> OpenModule(const std::string& fileName, ModuleOutcome* whyNot) override {
        *whyNot = ModuleOutcome::NotLoaded;
        ModuleHandle module;
        {
            // No system box for a module that cannot be opened.
            ScopedErrorMode quiet(SEM_NOOPENFILEERRORBOX);
            module.reset(LoadLibraryA(fileName.c_str()));
        }
        if (!module) return nullptr;
        *whyNot = ModuleOutcome::NoExports;
        const void* getModes = FindExport(module.get(), "GetSupportedModes");
        if (!getModes) return nullptr;
        const void* freeModes = FindExport(module.get(), "FreeModeList");
        if (!freeModes) return nullptr;
        return std::make_unique<LoadedRenderer>(std::move(module), getModes, freeModes);
    }

    void ShowWaitCursor() override { previousCursor_ = SetCursor(LoadCursor(nullptr, IDC_WAIT)); }

    void RestoreCursor() override { SetCursor(previousCursor_); }

private:
    HCURSOR previousCursor_ = nullptr;
};

}  // namespace

RendererHost& Win32RendererHost() {
    static Win32Host host;
    return host;
}

}  // namespace velk
