#include <windows.h>
#include <cstdio>

#include "base/guarded_call_win32.h"
#include "base/win32_handles.h"
#include "sound/mss_interface.h"
#include "sound/sound_win32.h"

namespace velk {

namespace {

// The operation under its decorated name ("_AIL_startup@0"), else under its plain name.
template <typename Fn>
Fn FindOperation(HMODULE module, const mss::Export& operation) {
    char decorated[64];
    snprintf(decorated, sizeof(decorated), "_%s@%u", operation.name, operation.argumentBytes);
    FARPROC found = GetProcAddress(module, decorated);
    if (!found) found = GetProcAddress(module, operation.name);
    // Through the generic function type: any function pointer converts from it without a warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(found));
}

// The library is foreign code: every call goes through the guard, so a fault
// inside it, or a convention it does not keep, ends this library's use (the
// enumeration counts as failed) instead of the launcher. A library that broke
// down is not called again, not even to shut down: its state is unknown, and
// a shut-down that waits for a lock the fault left held would hang the
// launcher, which no guard can undo. It stays loaded until the process ends,
// for threads of its own may still run in it.
class LoadedSoundLibrary final : public SoundLibrary {
public:
    explicit LoadedSoundLibrary(ModuleHandle module) : module_(std::move(module)) {
        HMODULE m = module_.get();
        startup_ = FindOperation<mss::StartupFn>(m, mss::kStartup);
        setPreference_ = FindOperation<mss::SetPreferenceFn>(m, mss::kSetPreference);
        waveOutOpen_ = FindOperation<mss::WaveOutOpenFn>(m, mss::kWaveOutOpen);
        enumerate_ = FindOperation<mss::Enumerate3DProvidersFn>(m, mss::kEnumerate3DProviders);
        open_ = FindOperation<mss::Open3DProviderFn>(m, mss::kOpen3DProvider);
        attribute_ = FindOperation<mss::ProviderAttributeFn>(m, mss::kProviderAttribute);
        close_ = FindOperation<mss::Close3DProviderFn>(m, mss::kClose3DProvider);
        waveOutClose_ = FindOperation<mss::WaveOutCloseFn>(m, mss::kWaveOutClose);
        shutdown_ = FindOperation<mss::ShutdownFn>(m, mss::kShutdown);
    }

    ~LoadedSoundLibrary() override {
        if (broken_) module_.release();
    }

    bool Complete() const {
        return startup_ && setPreference_ && waveOutOpen_ && enumerate_ && open_ && attribute_ && close_ &&
               waveOutClose_ && shutdown_;
    }

    bool Broken() const override { return broken_; }

    void Startup() override { Call(startup_, 0, {}); }
    int32_t SetPreference(uint32_t number, int32_t value) override {
        return Result(Call(setPreference_, 0, {number, Word(value)}));
    }
    int32_t OpenWaveMapper(uint32_t* driver) override {
        return Result(Call(waveOutOpen_, kFailed, {Word(driver), 0, Word(mss::kWaveMapper), 0}));
    }
    int32_t EnumerateProviders(uint32_t* cursor, uint32_t* provider, const char** name) override {
        char* delivered = nullptr;
        int32_t result = Result(Call(enumerate_, 0, {Word(cursor), Word(provider), Word(&delivered)}));
        *name = delivered;
        return result;
    }
    int32_t OpenProvider(uint32_t provider) override { return Result(Call(open_, kFailed, {provider})); }
    void ProviderAttribute(uint32_t provider, const char* attribute, int32_t* value) override {
        Call(attribute_, 0, {provider, Word(attribute), Word(value)});
    }
    void CloseProvider(uint32_t provider) override { Call(close_, 0, {provider}); }
    void CloseWaveMapper(uint32_t driver) override { Call(waveOutClose_, 0, {driver}); }
    void Shutdown() override { Call(shutdown_, 0, {}); }

private:
    static constexpr uintptr_t kFailed = static_cast<uintptr_t>(-1);

    template <typename T>
    static uintptr_t Word(T* pointer) { return reinterpret_cast<uintptr_t>(pointer); }
    static uintptr_t Word(int32_t value) { return static_cast<uintptr_t>(static_cast<intptr_t>(value)); }
    static int32_t Result(uintptr_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

    // The operation's result, or `failed` once the library is broken.
    template <typename Fn>
    uintptr_t Call(Fn operation, uintptr_t failed, std::initializer_list<uintptr_t> arguments) {
        if (broken_) return failed;
        ForeignResult result = CallForeign(reinterpret_cast<const void*>(operation), arguments,
                                           ForeignConvention::CalleeCleans);
        if (result.ok()) return result.value;
        broken_ = true;
        return failed;
    }

    ModuleHandle module_;
    bool broken_ = false;
    mss::StartupFn startup_;
    mss::SetPreferenceFn setPreference_;
    mss::WaveOutOpenFn waveOutOpen_;
    mss::Enumerate3DProvidersFn enumerate_;
    mss::Open3DProviderFn open_;
    mss::ProviderAttributeFn attribute_;
    mss::Close3DProviderFn close_;
    mss::WaveOutCloseFn waveOutClose_;
    mss::ShutdownFn shutdown_;
};

}  // namespace

std::unique_ptr<SoundLibrary> LoadSoundLibrary() {
    ModuleHandle module;
    {
        // A missing library is an answer ("no providers"), not a system box.
        ScopedErrorMode quiet(kNoSystemBoxes);
        module.reset(LoadLibraryA(mss::kLibraryName));
    }
    if (!module) return nullptr;
    auto library = std::make_unique<LoadedSoundLibrary>(std::move(module));
    if (!library->Complete()) return nullptr;
    return library;
}

}  // namespace velk
