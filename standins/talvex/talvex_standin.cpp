// Stand-in for the game engine TALVEX.EXE, for running and testing the
// launcher without the real engine. It is not the engine.
//
// Each start appends one record to "talvex-record.txt" in its current folder:
//   TALVEX-RECORD
//   commandline <byte count>
//   <the command line, exactly>
//   cmdfile <byte count, or -1 when the file named after -cmdfile was not read>
//   <the file's bytes, exactly>
//   END
// Then it stays alive for the milliseconds in "talvex-stay.txt" (same folder)
// or after a "-stay N" switch, so that tests can hold it "running".
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string SwitchValue(const char* commandLine, const char* name) {
    const char* at = std::strstr(commandLine, name);
    if (!at) return std::string();
    at += std::strlen(name);
    while (*at == ' ') ++at;
    const char* end = at;
    while (*end && *end != ' ') ++end;
    return std::string(at, end);
}

bool ReadWhole(const std::string& path, std::string* out) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) out->append(buf, n);
    fclose(f);
    return true;
}

void AppendRecord(const char* commandLine) {
    std::string cmdFile;
    bool haveFile = false;
    std::string name = SwitchValue(commandLine, "-cmdfile");
    if (!name.empty()) haveFile = ReadWhole(name, &cmdFile);

    FILE* record = fopen("talvex-record.txt", "ab");
    if (!record) return;
    fprintf(record, "TALVEX-RECORD\ncommandline %u\n", static_cast<unsigned>(std::strlen(commandLine)));
    fwrite(commandLine, 1, std::strlen(commandLine), record);
    if (haveFile) {
        fprintf(record, "\ncmdfile %u\n", static_cast<unsigned>(cmdFile.size()));
        fwrite(cmdFile.data(), 1, cmdFile.size(), record);
    } else {
        fprintf(record, "\ncmdfile -1\n");
    }
    fprintf(record, "\nEND\n");
    fclose(record);
}

DWORD StayMilliseconds(const char* commandLine) {
    std::string value = SwitchValue(commandLine, "-stay");
    std::string fromFile;
    if (value.empty() && ReadWhole("talvex-stay.txt", &fromFile)) value = fromFile;
    return static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* commandLine = GetCommandLineA();
    AppendRecord(commandLine);
    DWORD stay = StayMilliseconds(commandLine);
    if (stay) Sleep(stay);
    return 0;
}
