// The sound library "mss32.dll" as the launcher uses it: nine operations,
// exported under their plain names and all with the callee-cleans (__stdcall)
// convention. Handles and the enumeration cursor are unsigned 32-bit values.
// The library is loaded only while a detection runs.
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

// Export names.
constexpr const char* kStartup = "AIL_startup";
constexpr const char* kSetPreference = "AIL_set_preference";
constexpr const char* kWaveOutOpen = "AIL_waveOutOpen";
constexpr const char* kEnumerate3DProviders = "AIL_enumerate_3D_providers";
constexpr const char* kOpen3DProvider = "AIL_open_3D_provider";
constexpr const char* kProviderAttribute = "AIL_3D_provider_attribute";
constexpr const char* kClose3DProvider = "AIL_close_3D_provider";
constexpr const char* kWaveOutClose = "AIL_waveOutClose";
constexpr const char* kShutdown = "AIL_shutdown";

}  // namespace velk::mss
