// Stand-in web browser (and help viewer, and player of the disc's previews)
// for the test prefix: the shell opens web addresses, ".hlp" files and the
// previews' files with it. It is not a browser.
//
// Each start appends "OPEN <command line>\n" to the file named by the
// environment variable VELK_BROWSER_RECORD (nothing is written without it).
#include <windows.h>
#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("VELK_BROWSER_RECORD", path, sizeof(path)) == 0) return 0;
    FILE* record = fopen(path, "ab");
    if (!record) return 1;
    fprintf(record, "OPEN %s\n", commandLine);
    fclose(record);
    return 0;
}
