// Stand-in for the data disc's setup program SETUP.EXE, for testing the
// launcher's setup start. It is not an installer.
//
// Each start appends "SETUP-RECORD\ncwd <folder>\ncommandline <line>\nEND\n"
// to "setup-record.txt" in the folder named by the environment variable
// VELK_SETUP_RECORD_DIR, or else in its current folder.
#include <windows.h>
#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(cwd), cwd);
    char dir[MAX_PATH] = {};
    std::string recordPath = "setup-record.txt";
    if (GetEnvironmentVariableA("VELK_SETUP_RECORD_DIR", dir, sizeof(dir)) > 0)
        recordPath = std::string(dir) + "\\setup-record.txt";
    FILE* record = fopen(recordPath.c_str(), "ab");
    if (!record) return 1;
    fprintf(record, "SETUP-RECORD\ncwd %s\ncommandline %s\nEND\n", cwd, GetCommandLineA());
    fclose(record);
    return 0;
}
