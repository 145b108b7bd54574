// The sound library "mss32.dll" as the launcher uses it: nine operations,
// all with the callee-cleans (__stdcall) convention. Handles and the
// enumeration cursor are unsigned 32-bit values. The library is loaded only
// while a detection runs.
#pragma once
#include <cstdint>

namespace velk::mss {

constexpr const char* kLibraryName = "mss32.dll";

using StartupFn = void(__stdcall*)(void);
// Preference number and its value; the result is not used.
using SetPreferenceFn = int32_t(__stdcall*)(uint32_t number, int32_t value);
// 0 on success. The launcher asks for the wave mapper (device -1), wants no
// wave-out handle (null) and leaves the format to the library (null).
using WaveOutOpenFn = int32_t(__stdcall*)(uint32_t* driver, void** waveOut, int32_t device, const void* format);
// Non-zero while a provider was delivered. The cursor starts at 0 and the
// library advances it; *name points to a NUL-terminated text the library owns.
using Enumerate3DProvidersFn = int32_t(__stdcall*)(uint32_t* cursor, uint32_t* provider, char** name);
// 0 when the provider was opened.
using Open3DProviderFn = int32_t(__stdcall*)(uint32_t provider);
// Writes the attribute's value, or nothing when the provider has none.
using ProviderAttributeFn = void(__stdcall*)(uint32_t provider, const char* attribute, int32_t* value);
using Close3DProviderFn = void(__stdcall*)(uint32_t provider);
using WaveOutCloseFn = void(__stdcall*)(uint32_t driver);
using ShutdownFn = void(__stdcall*)(void);

constexpr int32_t kWaveMapper = -1;

// How an operation is exported. A 32-bit callee-cleans build usually
// decorates the name with the bytes of arguments the operation pops
// ("_AIL_startup@0"); other builds export the plain name.
struct Export {
    const char* name;
    unsigned argumentBytes;
};

constexpr Export kStartup = {"AIL_startup", 0};
constexpr Export kSetPreference = {"AIL_set_preference", 8};
constexpr Export kWaveOutOpen = {"AIL_waveOutOpen", 16};
constexpr Export kEnumerate3DProviders = {"AIL_enumerate_3D_providers", 12};
constexpr Export kOpen3DProvider = {"AIL_open_3D_provider", 4};
constexpr Export kProviderAttribute = {"AIL_3D_provider_attribute", 12};
constexpr Export kClose3DProvider = {"AIL_close_3D_provider", 4};
constexpr Export kWaveOutClose = {"AIL_waveOutClose", 4};
constexpr Export kShutdown = {"AIL_shutdown", 0};

// The bytes a 32-bit callee-cleans function pops: every argument takes whole 4-byte slots.
template <typename Result, typename... Args>
constexpr unsigned ArgumentBytes(Result(__stdcall*)(Args...)) {
    return (0u + ... + static_cast<unsigned>((sizeof(Args) + 3) / 4 * 4));
}

// A byte count that disagrees with its function type would look up a name the library does not have.
constexpr bool kIs32Bit = sizeof(void*) == 4;
static_assert(!kIs32Bit || ArgumentBytes(StartupFn{}) == kStartup.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(SetPreferenceFn{}) == kSetPreference.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(WaveOutOpenFn{}) == kWaveOutOpen.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(Enumerate3DProvidersFn{}) == kEnumerate3DProviders.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(Open3DProviderFn{}) == kOpen3DProvider.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(ProviderAttributeFn{}) == kProviderAttribute.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(Close3DProviderFn{}) == kClose3DProvider.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(WaveOutCloseFn{}) == kWaveOutClose.argumentBytes);
static_assert(!kIs32Bit || ArgumentBytes(ShutdownFn{}) == kShutdown.argumentBytes);

}  // namespace velk::mss
