// Time from process start until the title window is shown and painted, for
// the launcher against a bare dialog program with the same template (the
// floor), and the launcher's peak memory. Run under Wine:
//   build/win32/wine-run build/win32/bench/win32/bench_title.exe [rounds]
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "launcher_driver.h"

using namespace velk::test;

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

struct Run {
    double seconds = -1;
    SIZE_T peakBytes = 0;
};

// Visible, and nothing left in its update region.
bool ShownAndPainted(HWND w) { return IsWindowVisible(w) && !GetUpdateRect(w, nullptr, FALSE); }

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
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.id());
    PROCESS_MEMORY_COUNTERS counters = {};
    if (h && GetProcessMemoryInfo(h, &counters, sizeof(counters))) run.peakBytes = counters.PeakWorkingSetSize;
    if (h) CloseHandle(h);
    if (window) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    p.WaitExit(5000);
    return run;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 11;
    LauncherRegistry registry;
    registry.SetNumber("Num Launcher Runs", 5);
    GameFolder game;
    CopyFileA((std::string(WindowsPath(VELK_BENCH_DIR)) + "\\bare_dialog.exe").c_str(), (game / "bare_dialog.exe").c_str(), FALSE);
    std::vector<double> launcher, bare;
    SIZE_T peak = 0;
    for (int i = 0; i < rounds; ++i) {
        Run l = TimeTitle(game.path(), "Velkarion.exe");
        Run b = TimeTitle(game.path(), "bare_dialog.exe");
        launcher.push_back(l.seconds);
        bare.push_back(b.seconds);
        peak = std::max(peak, l.peakBytes);
    }
    double l = Median(launcher), b = Median(bare);
    printf("launcher: title shown and painted after %.1f ms (median of %d)\n", l * 1000, rounds);
    printf("bare dialog, same template:          %.1f ms\n", b * 1000);
    printf("ratio: %.2f\n", l / b);
    printf("launcher peak working set: %.1f MiB\n", peak / (1024.0 * 1024.0));
    return 0;
}
