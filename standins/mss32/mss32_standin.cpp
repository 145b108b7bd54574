// Stand-in for the sound library mss32.dll, for running and testing the
// launcher's 3D sound detection without a real sound library. It is ours and
// plays nothing.
//
// What it reports comes from "mss32_standin.txt" beside the DLL, read at
// AIL_startup, one setting a line (a missing file: no providers, the wave
// mapper opens):
//   provider <name>    a provider, in the order they are reported
//   provider-null      a provider whose name pointer is null
//   cannot-open        the provider above fails to open
//   eax <number>       the provider above answers the EAX query with the number
//                      (without it, the query writes nothing)
//   wavemapper fails   the wave mapper does not open
//   forever            after the listed providers, report new ones without end
//   fault <operation>  that operation (e.g. AIL_open_3D_provider) writes to
//                      address 0, as a broken library would
// Every call is appended, with its arguments, to "mss32_standin.log" beside it.
#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "sound/mss_interface.h"

namespace {

constexpr uint32_t kFirstProviderHandle = 0x100;
constexpr uint32_t kDriverHandle = 0x5D0;

struct Provider {
    std::string name;
    bool nullName = false;
    bool opens = true;
    bool answersEax = false;
    int32_t eax = 0;
};

struct Setup {
    std::vector<Provider> providers;
    bool waveMapperFails = false;
    bool forever = false;
    std::string faultIn;
};

HMODULE g_module = nullptr;
Setup g_setup;
std::string g_endlessName;  // the name handed out last in the endless mode

std::string BesideMe(const char* file) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_module, path, sizeof(path));
    std::string folder = path;
    size_t cut = folder.find_last_of("\\/");
    folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
    return folder + file;
}

void Log(const char* format, ...) {
    FILE* log = std::fopen(BesideMe("mss32_standin.log").c_str(), "ab");
    if (!log) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(log, format, args);
    va_end(args);
    std::fputc('\n', log);
    std::fclose(log);
}

const char* Pointer(const void* p) { return p ? "set" : "null"; }

void FaultIfAsked(const char* operation) {
    if (g_setup.faultIn != operation) return;
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

Setup ReadSetup() {
    Setup setup;
    FILE* file = std::fopen(BesideMe("mss32_standin.txt").c_str(), "rb");
    if (!file) return setup;
    char line[4096];
    while (std::fgets(line, sizeof(line), file)) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        Provider* last = setup.providers.empty() ? nullptr : &setup.providers.back();
        if (text.rfind("provider ", 0) == 0) {
            setup.providers.push_back(Provider());
            setup.providers.back().name = text.substr(9);
        } else if (text == "provider-null") {
            setup.providers.push_back(Provider());
            setup.providers.back().nullName = true;
        } else if (text == "cannot-open" && last) {
            last->opens = false;
        } else if (text.rfind("eax ", 0) == 0 && last) {
            last->answersEax = true;
            last->eax = std::atoi(text.c_str() + 4);
        } else if (text == "wavemapper fails") {
            setup.waveMapperFails = true;
        } else if (text == "forever") {
            setup.forever = true;
        } else if (text.rfind("fault ", 0) == 0) {
            setup.faultIn = text.substr(6);
        }
    }
    std::fclose(file);
    return setup;
}

const Provider* ProviderOf(uint32_t handle) {
    if (handle < kFirstProviderHandle) return nullptr;
    size_t index = handle - kFirstProviderHandle;
    return index < g_setup.providers.size() ? &g_setup.providers[index] : nullptr;
}

}  // namespace

extern "C" {

void __stdcall AIL_startup(void) {
    g_setup = ReadSetup();
    FaultIfAsked("AIL_startup");
    Log("AIL_startup");
}

int32_t __stdcall AIL_set_preference(uint32_t number, int32_t value) {
    FaultIfAsked("AIL_set_preference");
    Log("AIL_set_preference %u %d", number, value);
    return 0;
}

int32_t __stdcall AIL_waveOutOpen(uint32_t* driver, void** waveOut, int32_t device, const void* format) {
    FaultIfAsked("AIL_waveOutOpen");
    Log("AIL_waveOutOpen driver=%s waveOut=%s device=%d format=%s", Pointer(driver), Pointer(waveOut), device,
        Pointer(format));
    if (g_setup.waveMapperFails) return 1;
    if (driver) *driver = kDriverHandle;
    return 0;
}

int32_t __stdcall AIL_enumerate_3D_providers(uint32_t* cursor, uint32_t* provider, char** name) {
    FaultIfAsked("AIL_enumerate_3D_providers");
    if (!cursor || !provider || !name) return 0;
    Log("AIL_enumerate_3D_providers cursor=%u", *cursor);
    uint32_t index = *cursor;
    if (index < g_setup.providers.size()) {
        const Provider& p = g_setup.providers[index];
        *name = p.nullName ? nullptr : const_cast<char*>(p.name.c_str());
    } else if (g_setup.forever) {
        g_endlessName = "Stand-in endless provider " + std::to_string(index + 1);
        *name = const_cast<char*>(g_endlessName.c_str());
    } else {
        return 0;
    }
    *provider = kFirstProviderHandle + index;
    *cursor = index + 1;
    return 1;
}

int32_t __stdcall AIL_open_3D_provider(uint32_t provider) {
    FaultIfAsked("AIL_open_3D_provider");
    Log("AIL_open_3D_provider %u", provider);
    const Provider* p = ProviderOf(provider);
    return p && !p->opens ? 1 : 0;
}

void __stdcall AIL_3D_provider_attribute(uint32_t provider, const char* attribute, int32_t* value) {
    FaultIfAsked("AIL_3D_provider_attribute");
    Log("AIL_3D_provider_attribute %u \"%s\" value=%d", provider, attribute ? attribute : "(null)",
        value ? *value : 0);
    const Provider* p = ProviderOf(provider);
    if (p && p->answersEax && value && attribute && std::strcmp(attribute, "EAX environment selection") == 0)
        *value = p->eax;
}

void __stdcall AIL_close_3D_provider(uint32_t provider) {
    FaultIfAsked("AIL_close_3D_provider");
    Log("AIL_close_3D_provider %u", provider);
}

void __stdcall AIL_waveOutClose(uint32_t driver) {
    FaultIfAsked("AIL_waveOutClose");
    Log("AIL_waveOutClose %u", driver);
}

void __stdcall AIL_shutdown(void) {
    FaultIfAsked("AIL_shutdown");
    Log("AIL_shutdown");
}

}  // extern "C"

// The exports have exactly the launcher's signatures.
static_assert(std::is_same_v<decltype(&AIL_startup), velk::mss::StartupFn>);
static_assert(std::is_same_v<decltype(&AIL_set_preference), velk::mss::SetPreferenceFn>);
static_assert(std::is_same_v<decltype(&AIL_waveOutOpen), velk::mss::WaveOutOpenFn>);
static_assert(std::is_same_v<decltype(&AIL_enumerate_3D_providers), velk::mss::Enumerate3DProvidersFn>);
static_assert(std::is_same_v<decltype(&AIL_open_3D_provider), velk::mss::Open3DProviderFn>);
static_assert(std::is_same_v<decltype(&AIL_3D_provider_attribute), velk::mss::ProviderAttributeFn>);
static_assert(std::is_same_v<decltype(&AIL_close_3D_provider), velk::mss::Close3DProviderFn>);
static_assert(std::is_same_v<decltype(&AIL_waveOutClose), velk::mss::WaveOutCloseFn>);
static_assert(std::is_same_v<decltype(&AIL_shutdown), velk::mss::ShutdownFn>);

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}
