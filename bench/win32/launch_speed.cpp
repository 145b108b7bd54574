// How long a returning player waits from starting "Velkarion.exe -GOGAME"
// until the engine has started, against starting the (stand-in) engine
// directly with the same command file. Run under Wine:
//   build/win32/wine-run build/win32/bench/win32/bench_launch.exe [rounds]
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "launcher_driver.h"

using namespace velk::bench;
using namespace velk::test;

namespace {

// Seconds from process creation until the engine's record appears.
double TimeUntilEngineStarted(const GameFolder& game, const char* program, const char* args) {
    DeleteFileA((game / "talvex-record.txt").c_str());
    double start = Now();
    Process p;
    if (!p.Start(game.path(), program, args)) return -1;
    for (;;) {
        if (GetFileAttributesA((game / "talvex-record.txt").c_str()) != INVALID_FILE_ATTRIBUTES) break;
        if (Now() - start > 20) return -1;
        Sleep(1);
    }
    double t = Now() - start;
    p.WaitExit(5000);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 15;
    LauncherRegistry registry;
    registry.SetNumber("Num Launcher Runs", 5);  // a returning player: no performance question
    GameFolder game;
    std::vector<double> launcher, direct;
    for (int i = 0; i < rounds; ++i) {
        launcher.push_back(TimeUntilEngineStarted(game, "Velkarion.exe", "-GOGAME"));
        direct.push_back(TimeUntilEngineStarted(game, "TALVEX.EXE", "-cmdfile velkcmds.txt"));
    }
    double l = Median(launcher), d = Median(direct);
    printf("launcher -GOGAME until engine started: median %.1f ms over %d rounds\n", l * 1000, rounds);
    printf("engine started directly:               median %.1f ms\n", d * 1000);
    printf("ratio: %.2f\n", l / d);
    return 0;
}
