// The launcher's small services against the real system: toolhelp running
// checks, the setup starter, the engine's run count file, the error box.
#include <gtest/gtest.h>

#include <cstring>

#include "base/dialog_services.h"
#include "base/process_check.h"
#include "launcher/launcher.h"
#include "launcher_driver.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;

std::string OwnPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

std::string OwnName() {
    std::string p = OwnPath();
    return p.substr(p.find_last_of('\\') + 1);
}

TEST(ProcessCheck, FirstModuleStandsInForTheUnkeptModuleId) {
    MODULEENTRY32W entry;
    memset(&entry, 0xAB, sizeof(entry));
    ASSERT_TRUE(FindProcessModule(GetCurrentProcessId(), 0, &entry));
    EXPECT_STREQ(entry.szExePath, WideFromAnsi(OwnPath()).c_str());
    memset(&entry, 0xAB, sizeof(entry));
    ASSERT_TRUE(FindProcessModule(GetCurrentProcessId(), 12345, &entry));  // no such id
    EXPECT_STREQ(entry.szModule, WideFromAnsi(OwnName()).c_str());
    EXPECT_FALSE(FindProcessModule(0xFFFFFFF0, 0, &entry));  // no such process
}

TEST(ProcessCheck, NamesPathsAndCounts) {
    std::string upperPath = OwnPath();
    for (char& c : upperPath) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    struct Case {
        std::string name;
        int count;
        bool running;
    };
    const Case cases[] = {
        {OwnName(), 1, true},
        {OwnName(), 2, false},          // only this one runs
        {OwnPath(), 1, true},
        {upperPath, 1, true},           // case does not matter
        {"C:\\elsewhere\\" + OwnName(), 1, false},  // a path compares the whole path
        {"no-such-program.exe", 1, false},
        {"", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " x" + std::to_string(c.count));
        EXPECT_EQ(IsProcessRunning(WideFromAnsi(c.name).c_str(), c.count), c.running);
    }
    EXPECT_FALSE(IsProcessRunning(nullptr, 1));
}

TEST(ProcessCheck, SeesAnotherProcessByItsFullPath) {
    GameFolder game;
    std::string engine = game / "TALVEX.EXE";
    EXPECT_FALSE(IsProcessRunning(WideFromAnsi(engine).c_str(), 1));
    Process p;
    ASSERT_TRUE(p.Start(game.path(), "TALVEX.EXE", "-stay 120000"));
    ASSERT_TRUE(WaitProcessListed(p.id(), kPatience));
    EXPECT_TRUE(IsProcessRunning(WideFromAnsi(engine).c_str(), 1));
    EXPECT_TRUE(IsProcessRunning(L"talvex.exe", 1));
    EXPECT_FALSE(IsProcessRunning(L"talvex.exe", 2));
}

// The engine's path in 8.3 form names it; look-alikes in ANSI (spel-a, παιχνίδυ) do not.
TEST(ProcessCheck, PathsNameTheSameFile) {
    GameFolder game;
    ASSERT_TRUE(game.MoveTo("spel-\xC4\x81\\\xCF\x80\xCE\xB1\xCE\xB9\xCF\x87\xCE\xBD\xCE\xAF\xCE\xB4\xCE\xB9 (GOTY)"));
    Process engine;
    ASSERT_TRUE(engine.Start(game.widePath(), "TALVEX.EXE", "-stay 120000"));
    ASSERT_TRUE(WaitProcessListed(engine.id(), kPatience));
    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW((game.widePath() + L"\\TALVEX.EXE").c_str(), shortPath, MAX_PATH);
    EXPECT_TRUE(IsProcessRunning(shortPath, 1)) << shortPath;
    const std::wstring spel = WideFromAnsi(game.scratch()) + L"\\spel-";
    const std::wstring greek = L"\\\x03C0\x03B1\x03B9\x03C7\x03BD\x03AF\x03B4";  // \παιχνίδ
    EXPECT_FALSE(IsProcessRunning((spel + L"a" + greek + L"\x03B9 (GOTY)\\TALVEX.EXE").c_str(), 1));
    EXPECT_FALSE(IsProcessRunning((spel + L"\x0101" + greek + L"\x03C5 (GOTY)\\TALVEX.EXE").c_str(), 1));
}

TEST(SetupStart, FileExistsInJoinsFolderAndFile) {
    TempFolder dir;
    ASSERT_TRUE(WriteFileText(dir / "SETUP.EXE", "x"));
    EXPECT_TRUE(FileExistsIn(dir.path().c_str(), "SETUP.EXE"));
    EXPECT_TRUE(FileExistsIn((dir.path() + "\\").c_str(), "SETUP.EXE"));
    EXPECT_FALSE(FileExistsIn(dir.path().c_str(), "OTHER.EXE"));
    EXPECT_FALSE(FileExistsIn(dir.path().c_str(), ""));
    EXPECT_FALSE(FileExistsIn(nullptr, "SETUP.EXE"));
    ScopedCurrentFolder in(dir.path());
    EXPECT_TRUE(FileExistsIn("", "SETUP.EXE"));  // an empty folder: the current one
    // ... and only the current one: a program of that name in the system's folder is neither seen nor started.
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string stray = std::string(system) + "\\VELKSTRAY.EXE";
    ASSERT_TRUE(CopyFileA((WindowsPath(VELK_DISC_DIR) + "\\SETUP.EXE").c_str(), stray.c_str(), FALSE));
    EXPECT_FALSE(FileExistsIn("", "VELKSTRAY.EXE"));
    EXPECT_FALSE(StartProgram("", "VELKSTRAY.EXE"));
    DeleteFileA(stray.c_str());
}

TEST(SetupStart, StartsInTheGivenFolder) {
    TempFolder disc;
    ASSERT_TRUE(CopyFileA((WindowsPath(VELK_DISC_DIR) + "\\SETUP.EXE").c_str(), (disc / "SETUP.EXE").c_str(), FALSE));
    const std::string root = disc.path() + "\\";
    ASSERT_TRUE(RunSetup(root, "SETUP.EXE"));
    std::string record;
    WaitUntil([&] { return ReadFileText(disc / "setup-record.txt", &record) && record.find("\nEND") != std::string::npos; });
    EXPECT_NE(record.find("cwd " + disc.path() + "\n"), std::string::npos) << record;
    EXPECT_NE(record.find("commandline " + disc.path() + "\\SETUP.EXE"), std::string::npos) << record;
    EXPECT_FALSE(RunSetup(root, "MISSING.EXE"));
    EXPECT_FALSE(StartProgram(disc.path().c_str(), "MISSING.EXE"));
}

TEST(EngineRunCount, ReadsTheNumRunsLine) {
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        bool read;
        int32_t runs;
    };
    const Case cases[] = {
        {"quoted", "\"Foo\" \"1\"\n\"NumRuns\" \"3\"\n\"Bar\" \"2\"\n", true, 3},
        {"plain with CR LF", "NumRuns 12\r\n", true, 12},
        {"first line wins", "NumRuns 4\nNumRuns 9\n", true, 4},
        {"letter after the key", "NumRunsX 5\n", true, 0},
        {"no line", "Other 5\n", true, 0},
        {"empty file", "", true, 0},
        {"no line end", "NumRuns 8", true, 8},
        {"very long line", nullptr, true, 0},
        {"missing file", nullptr, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        ScopedCurrentFolder in(dir.path());
        int32_t runs = 0;
        if (c.content) { ASSERT_TRUE(WriteFileText("autoexec.cfg", c.content)); }
        if (std::string(c.name) == "very long line") {
            ASSERT_TRUE(WriteFileText("autoexec.cfg", std::string(5000, 'x') + "\nNumRuns7\n"));
        }
        EXPECT_EQ(ReadEngineRunCount("autoexec.cfg", &runs), c.read);
        EXPECT_EQ(runs, std::string(c.name) == "very long line" ? 7 : c.runs);
    }
    int32_t runs = 0;
    EXPECT_FALSE(ReadEngineRunCount(nullptr, &runs));
}

// Reads the text of the message box the thread is about to show, then closes it.
DWORD WINAPI AnswerBoxLater(void* textOut) {
    HWND box = WaitForMessageBox(GetCurrentProcessId(), kPatience);
    if (!box) return 1;
    *static_cast<std::string*>(textOut) = MessageBoxText(box) + "|" + WindowTextUtf8(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

TEST(ErrorBox, StringTextOrErrorAndTheGameTitle) {
    SetLauncherModule(GetModuleHandleA(nullptr));
    SetGameTitle("Velkarion");
    struct Case {
        UINT id;
        std::string expected;
    };
    const Case cases[] = {
        {64, "VELK körs redan.|Velkarion"},
        {999, "Error.|Velkarion"},  // no such string
    };
    for (const Case& c : cases) {
        std::string seen;
        HANDLE t = CreateThread(nullptr, 0, AnswerBoxLater, &seen, 0, nullptr);
        EXPECT_EQ(ShowGameError(nullptr, c.id, MB_ICONINFORMATION), IDOK);
        WaitForSingleObject(t, INFINITE);
        CloseHandle(t);
        EXPECT_EQ(seen, c.expected);
    }
}

}  // namespace
}  // namespace velk
