#include <windows.h>

#include "base/win32_handles.h"
#include "sound/mss_interface.h"
#include "sound/sound_win32.h"

namespace velk {

namespace {

template <typename Fn>
Fn FindOperation(HMODULE module, const char* name) {
    // Through the generic function type: any function pointer converts from it without a warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

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

    bool Complete() const {
        return startup_ && setPreference_ && waveOutOpen_ && enumerate_ && open_ && attribute_ && close_ &&
               waveOutClose_ && shutdown_;
    }

    void Startup() override { startup_(); }
    int32_t SetPreference(uint32_t number, int32_t value) override { return setPreference_(number, value); }
    int32_t OpenWaveMapper(uint32_t* driver) override {
        return waveOutOpen_(driver, nullptr, mss::kWaveMapper, nullptr);
    }
    int32_t EnumerateProviders(uint32_t* cursor, uint32_t* provider, const char** name) override {
        char* delivered = nullptr;
        int32_t result = enumerate_(cursor, provider, &delivered);
        *name = delivered;
        return result;
    }
    int32_t OpenProvider(uint32_t provider) override { return open_(provider); }
    void ProviderAttribute(uint32_t provider, const char* attribute, int32_t* value) override {
        attribute_(provider, attribute, value);
    }
    void CloseProvider(uint32_t provider) override { close_(provider); }
    void CloseWaveMapper(uint32_t driver) override { waveOutClose_(driver); }
    void Shutdown() override { shutdown_(); }

private:
    ModuleHandle module_;
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
        ScopedErrorMode quiet(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
        module.reset(LoadLibraryA(mss::kLibraryName));
    }
    if (!module) return nullptr;
    auto library = std::make_unique<LoadedSoundLibrary>(std::move(module));
    if (!library->Complete()) return nullptr;
    return library;
}

}  // namespace velk
