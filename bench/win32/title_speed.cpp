// Time from process start until the title window is shown and painted, and
// the resident memory once it has settled, for the launcher against a bare
// dialog program with the same template (the floor), as ratios measured in
// one run. A second floor also plays the start sound, which loads the sound
// library and its audio driver. Also names the modules the launcher has
// loaded beyond the floor's.
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
    for (const char* floor : {"bare_dialog.exe", "bare_dialog_sound.exe"})
        CopyFileA((std::string(WindowsPath(VELK_BENCH_DIR)) + "\\" + floor).c_str(), (game / floor).c_str(), FALSE);
    const char* const programs[] = {"Velkarion.exe", "bare_dialog.exe", "bare_dialog_sound.exe"};
    std::vector<double> times[3], memory[3];
    Run last[3];
    for (int i = 0; i < rounds; ++i) {
        for (int p = 0; p < 3; ++p) {
            last[p] = TimeTitle(game.path(), programs[p]);
            times[p].push_back(last[p].seconds);
            memory[p].push_back(last[p].peakMiB);
        }
    }
    double t[3], m[3];
    for (int p = 0; p < 3; ++p) {
        t[p] = Median(times[p]);
        m[p] = Median(memory[p]);
    }
    printf("medians of %d rounds      launcher   bare dialog   bare dialog with start sound\n", rounds);
    printf("shown and painted, ms   %9.1f   %11.1f   %11.1f\n", t[0] * 1000, t[1] * 1000, t[2] * 1000);
    printf("peak working set, MiB   %9.1f   %11.1f   %11.1f   (%.1f s after shown)\n", m[0], m[1], m[2],
           kSettleMilliseconds / 1000.0);
    printf("launcher / bare dialog: time %.2f, memory %.2f\n", t[0] / t[1], m[0] / m[1]);
    // Each round's own ratio: a busy machine slows whole rounds, which the medians above do not see.
    std::vector<double> perRound;
    for (size_t i = 0; i < times[0].size(); ++i) perRound.push_back(times[0][i] / times[1][i]);
    printf("launcher / bare dialog, median of each round's time ratio: %.2f\n", Median(perRound));
    printf("launcher / bare dialog with start sound: time %.2f, memory %.2f\n", t[0] / t[2], m[0] / m[2]);
    printf("modules of the launcher beyond the bare dialog's:");
    for (const std::string& name : last[0].modules)
        if (!last[1].modules.count(name)) printf(" %s", name.c_str());
    printf("\n");
    return 0;
}
