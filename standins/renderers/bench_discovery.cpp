// Discovery benchmark: the launcher's renderer search over 16 stand-in modules
// of 200 records each, against a bare loop of LoadLibrary, GetProcAddress, the
// two export calls and FreeLibrary over the same modules. Runs under Wine:
//   wine bench_discovery.exe [rounds]
// Prints the median time of each and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/renderer_host_win32.h"
#include "display/renderer_list.h"

namespace {

constexpr int kModules = 16;

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

std::string ExeFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// A scratch folder holding bench01.ren ... bench16.ren.
std::string MakeModuleFolder(std::vector<std::string>* names) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string folder = std::string(temp) + "velk-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string source = ExeFolder() + "\\standin_bench.ren";
    for (int i = 1; i <= kModules; ++i) {
        char name[32];
        snprintf(name, sizeof(name), "bench%02d.ren", i);
        if (!CopyFileA(source.c_str(), (folder + "\\" + name).c_str(), FALSE)) return std::string();
        names->push_back(name);
    }
    return folder;
}

void RemoveModuleFolder(const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) DeleteFileA((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

using GetSupportedModesProc = void*(__cdecl*)();
using FreeModeListProc = int(__cdecl*)(void*);

double BareLoop(const std::vector<std::string>& names) {
    double start = Seconds();
    for (const std::string& name : names) {
        HMODULE module = LoadLibraryA(name.c_str());
        if (!module) continue;
        auto getModes = reinterpret_cast<GetSupportedModesProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "GetSupportedModes")));
        auto freeModes = reinterpret_cast<FreeModeListProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "FreeModeList")));
        if (getModes && freeModes) freeModes(getModes());
        FreeLibrary(module);
    }
    return Seconds() - start;
}

double Discovery(size_t* found) {
    double start = Seconds();
    velk::RendererList list(&velk::Win32RendererHost());
    list.Load("", "autoexec.cfg");
    double elapsed = Seconds() - start;
    *found = list.items.size();
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    std::vector<std::string> names;
    std::string folder = MakeModuleFolder(&names);
    if (folder.empty()) {
        fprintf(stderr, "could not copy standin_bench.ren next to the program\n");
        return 1;
    }
    SetCurrentDirectoryA(folder.c_str());

    size_t found = 0;
    Discovery(&found);  // warm the file cache for both
    BareLoop(names);
    std::vector<double> discovery, bare;
    for (int i = 0; i < rounds; ++i) {
        discovery.push_back(Discovery(&found));
        bare.push_back(BareLoop(names));
    }
    SetCurrentDirectoryA(ExeFolder().c_str());
    RemoveModuleFolder(folder, names);
    if (found != kModules) {
        fprintf(stderr, "discovery found %u of %d modules\n", unsigned(found), kModules);
        return 1;
    }
    double d = Median(discovery), b = Median(bare);
    printf("modules %d x 200 records, %d rounds (median)\n", kModules, rounds);
    printf("discovery  %8.3f ms\n", d * 1000);
    printf("bare loop  %8.3f ms\n", b * 1000);
    printf("ratio      %8.3f\n", d / b);
    return 0;
}
