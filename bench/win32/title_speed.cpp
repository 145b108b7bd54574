// Time from process start until the title window is shown and painted, and
// the resident memory once it has settled, for the launcher against a bare
// dialog program with the same template (the floor), as ratios measured in
// one run. Also names the modules the launcher has loaded beyond the floor's.
// Run under Wine:
//   build/win32/wine-run build/win32/bench/win32/bench_title.exe [rounds]
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "launcher_driver.h"

using namespace velk::bench;
using namespace velk::test;

namespace {

// The window has settled (the start sound started, its library loaded) by then.
constexpr DWORD kSettleMilliseconds = 1500;

struct Run {
    double seconds = -1;
    double peakMiB = 0;
    std::set<std::string> modules;
};

// Visible, and nothing left in its update region.
bool ShownAndPainted(HWND w) { return IsWindowVisible(w) && !GetUpdateRect(w, nullptr, FALSE); }

std::set<std::string> ModuleNames(HANDLE process) {
    std::set<std::string> names;
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof(modules), &bytes)) return names;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        char name[MAX_PATH];
        if (GetModuleBaseNameA(process, modules[i], name, sizeof(name))) names.insert(CharLowerA(name));
    }
    return names;
}

Run TimeTitle(const std::string& folder, const char* program) {
    Run run;
    double start = Now();
    Process p;
    if (!p.Start(folder, program, "")) return run;
    HWND window = nullptr;
    while (Now() - start < 20) {
        window = WaitForWindowNow(p.id(), "Velkarion");
        if (window && ShownAndPainted(window)) break;
        Sleep(1);
    }
    run.seconds = Now() - start;
    Sleep(kSettleMilliseconds);
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.id());
    PROCESS_MEMORY_COUNTERS counters = {};
    if (h && GetProcessMemoryInfo(h, &counters, sizeof(counters)))
        run.peakMiB = counters.PeakWorkingSetSize / (1024.0 * 1024.0);
    if (h) run.modules = ModuleNames(h);
    if (h) CloseHandle(h);
    if (window) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    p.WaitExit(5000);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 11;
    LauncherRegistry registry;
    registry.SetNumber("Num Launcher Runs", 5);
    GameFolder game;
    CopyFileA((std::string(WindowsPath(VELK_BENCH_DIR)) + "\\bare_dialog.exe").c_str(), (game / "bare_dialog.exe").c_str(), FALSE);
    std::vector<double> launcherTime, bareTime, launcherMemory, bareMemory;
    Run launcher, bare;
    for (int i = 0; i < rounds; ++i) {
        launcher = TimeTitle(game.path(), "Velkarion.exe");
        bare = TimeTitle(game.path(), "bare_dialog.exe");
        launcherTime.push_back(launcher.seconds);
        bareTime.push_back(bare.seconds);
        launcherMemory.push_back(launcher.peakMiB);
        bareMemory.push_back(bare.peakMiB);
    }
    double lt = Median(launcherTime), bt = Median(bareTime);
    double lm = Median(launcherMemory), bm = Median(bareMemory);
    printf("title shown and painted: launcher %.1f ms, bare dialog %.1f ms (medians of %d): ratio %.2f\n", lt * 1000,
           bt * 1000, rounds, lt / bt);
    printf("peak working set %.1f s after:  launcher %.1f MiB, bare dialog %.1f MiB: ratio %.2f\n",
           kSettleMilliseconds / 1000.0, lm, bm, lm / bm);
    printf("modules of the launcher beyond the bare dialog's:");
    for (const std::string& name : launcher.modules)
        if (!bare.modules.count(name)) printf(" %s", name.c_str());
    printf("\n");
    return 0;
}
