// The real launcher in a game folder of its own, used as a player would:
// started with switches, answered with keys and clicks, and checked by what
// it leaves behind (command file, the stand-in engine's record, registry).
#include <gtest/gtest.h>

#include "launcher_flow.h"

namespace velk::test {
namespace {

const std::string kLaunchHead = kDemoCommandHead;
const std::string kSwitches = std::string(" ") + kAllSwitchesOff;

class LaunchFlow : public LauncherFlow {
protected:
    void SetUp() override {}  // a first run unless the test says otherwise
    void ReturningPlayer() {
        registry_.SetNumber("Num Launcher Runs", 4);  // autoexec.cfg of the demo folder has NumRuns 3
    }
    void Start(const std::string& arguments) {
        launcher_ = std::make_unique<Process>();
        ASSERT_TRUE(launcher_->Start(game_.path(), "Velkarion.exe", arguments));
    }
    HWND TitleWindow() { return Window("Velkarion"); }
    std::string CommandFile() { return game_.CommandFile(); }
    DWORD Number(const char* name) { return registry_.Number(name); }
};

TEST_F(LaunchFlow, FirstRunWithGoGameAsksForTheLevelAndStartsTheEngine) {
    Start("-GOGAME");
    HWND detail = WaitForWindow(launcher_->id(), kDetailTitle, kWindowWait);
    ASSERT_NE(detail, nullptr) << "the performance question did not appear";
    PressKey(detail, VK_RETURN);  // the default button: normal performance
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);

    const std::string expected = kLaunchHead + " +multiplayer 0" + kSwitches + " ++PerformanceLevel 1 -GOGAME ";
    EXPECT_EQ(CommandFile(), expected);
    auto starts = WaitEngineStarts(game_.path(), 1, kExitWait);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, "talvex.exe -cmdfile velkcmds.txt");
    ASSERT_TRUE(starts[0].hadCommandFile);
    EXPECT_EQ(starts[0].commandFile, expected);

    EXPECT_EQ(Number("Num Launcher Runs"), 1u);
    EXPECT_EQ(Number("Display Warned"), 0u);
    EXPECT_EQ(Number("Last Random"), 1u);
    for (const char* name : {"Disable Sound", "Disable Music", "Disable Movies", "Disable Fog", "Disable Joystick",
                             "Disable TripBuf", "Disable Cursor", "Disable Loadscreen"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Number(name), 0u);
    }
    std::string language;
    EXPECT_TRUE(registry_.Text("Language", &language));
    EXPECT_EQ(language, "Swedish");
}

TEST_F(LaunchFlow, ReturningPlayerMultiplayerAsksNothing) {
    ReturningPlayer();
    registry_.SetNumber("Disable Fog", 1);
    Start("-gomulti");
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u) << "a window was waiting for an answer";
    EXPECT_EQ(CommandFile(), kLaunchHead + " +multiplayer 1" +
                                 "  +DisableMusic 0 +DisableSound 0 +DisableFog 1 +DisableTripBuf 0 "
                                 "+DisableHardwareCursor 0 -gomulti ");
    EXPECT_EQ(Number("Num Launcher Runs"), 5u);
    EXPECT_EQ(Number("Disable Fog"), 1u);
}

TEST_F(LaunchFlow, ShiftAtStartaShowsTheLineAndCancelKeepsTheOldFile) {
    ReturningPlayer();
    ASSERT_TRUE(WriteFileText(game_ / "velkcmds.txt", "previous"));
    Start("");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    BringToFront(title);
    ASSERT_TRUE(HoldShiftOnDisplay(true));
    ClickControl(title, 1);  // "Starta"
    HWND box = WaitForMessageBox(launcher_->id(), kWindowWait);
    EXPECT_TRUE(HoldShiftOnDisplay(false));
    ASSERT_NE(box, nullptr) << "no confirmation with SHIFT held";
    EXPECT_EQ(WindowTextUtf8(box), "Command Line String");
    EXPECT_EQ(MessageBoxText(box), kLaunchHead + " +multiplayer 0" + kSwitches + "  ");
    PressKey(box, VK_ESCAPE);  // Cancel

    title = TitleWindow();
    ASSERT_NE(title, nullptr) << "the title window did not come back";
    EXPECT_EQ(CommandFile(), "previous");
    EXPECT_TRUE(ReadEngineStarts(game_.path()).empty());
    ClickControl(title, 2);  // "Avsluta"
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
}

TEST_F(LaunchFlow, NoGameArchiveShowsBox17AndTheTitleReturns) {
    ReturningPlayer();
    ASSERT_TRUE(DeleteFileA((game_ / "VELK.rez").c_str()));
    Start("-GOGAME");
    EXPECT_EQ(AnswerBox(),
              "FELMEDDELANDE - Kan inte hitta VELK.rez-filen. Kontrollera att VELK är korrekt installerat och att "
              "cd-skiva 1 till VELK sitter i din cd-romläsare.");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(CommandFile(), "<none>");
    PressKey(title, VK_ESCAPE);
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
}

TEST_F(LaunchFlow, MissingEngineShowsBox6AndTheTitleReturns) {
    ReturningPlayer();
    ASSERT_TRUE(DeleteFileA((game_ / "TALVEX.EXE").c_str()));
    Start("-GOGAME");
    EXPECT_EQ(AnswerBox(),
              "FELMEDDELANDE - Kunde inte starta TALVEX.EXE. Kontrollera att VELK är korrekt installerat.");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    // The command file was written before the start failed.
    EXPECT_EQ(CommandFile(), kLaunchHead + " +multiplayer 0" + kSwitches + " -GOGAME ");
    PressKey(title, VK_ESCAPE);
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
}

TEST_F(LaunchFlow, LeavingWithAvslutaStillWritesEverythingBack) {
    ReturningPlayer();
    registry_.SetNumber("Disable Joystick", 1);
    registry_.SetNumber("Display Warned", 1);
    registry_.SetNumber("Last Random", 7);
    Start("");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    ClickControl(title, 2);
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(Number("Num Launcher Runs"), 5u);
    EXPECT_EQ(Number("Disable Joystick"), 1u);
    EXPECT_EQ(Number("Display Warned"), 1u);
    EXPECT_EQ(Number("Last Random"), 7u);  // one title picture: unchanged
    EXPECT_EQ(Number("Disable Sound"), 0u);
    EXPECT_EQ(CommandFile(), "<none>");
}

TEST_F(LaunchFlow, PercentInTheSavedCommandsReachesTheFileUnchanged) {
    ReturningPlayer();
    registry_.SetText("Commands", "+name %s%d 100%");
    Start("-GOGAME");
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(CommandFile(), kLaunchHead + " +multiplayer 0" + kSwitches + " -GOGAME +name %s%d 100%");
}

TEST_F(LaunchFlow, CancelledLevelQuestionReturnsToTheTitleAndAsksAgain) {
    Start("-GOGAME");
    HWND detail = WaitForWindow(launcher_->id(), kDetailTitle, kWindowWait);
    ASSERT_NE(detail, nullptr);
    PressKey(detail, VK_ESCAPE);
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr) << "cancel did not return to the title window";
    EXPECT_EQ(CommandFile(), "<none>");
    ClickControl(title, 1);
    detail = WaitForWindow(launcher_->id(), kDetailTitle, kWindowWait);
    ASSERT_NE(detail, nullptr) << "the next attempt did not ask again";
    ClickControl(detail, 1048);  // high detail
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(CommandFile(), kLaunchHead + " +multiplayer 0" + kSwitches + " ++PerformanceLevel 2 -GOGAME ");
}

TEST_F(LaunchFlow, SecondLauncherEndsAtOnceWithoutAWindow) {
    ReturningPlayer();
    Start("");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    Process second;
    ASSERT_TRUE(second.Start(game_.path(), "Velkarion.exe", ""));
    EXPECT_EQ(second.WaitExit(kExitWait), 0u);
    EXPECT_TRUE(StaysWithoutWindow(second.id(), 0));
    EXPECT_EQ(Number("Num Launcher Runs"), 4u) << "the second launcher wrote back";
    PressKey(title, VK_ESCAPE);
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(Number("Num Launcher Runs"), 5u);
}

TEST_F(LaunchFlow, RunningEngineShowsBox64AndTouchesNothing) {
    Process engine;
    ASSERT_TRUE(engine.Start(game_.path(), "TALVEX.EXE", "-stay 120000"));
    ASSERT_TRUE(WaitProcessListed(engine.id(), kPatience));
    Start("-GOGAME");
    EXPECT_EQ(AnswerBox(), "VELK körs redan.");
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 0u);
    EXPECT_FALSE(registry_.Exists());
    EXPECT_EQ(CommandFile(), "<none>");
}

// Over 124 characters of game folder: only an engine of this very folder blocks.
TEST_F(LaunchFlow, LongGameFolderIsBlockedOnlyByItsOwnEngine) {
    ReturningPlayer();
    std::string deep = game_ / std::string(150 - game_.path().size(), 'd');
    ASSERT_GT(deep.size(), 124u);
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    for (const char* file : {"Velkarion.exe", "TALVEX.EXE"})
        ASSERT_TRUE(CopyFileA((game_ / file).c_str(), (deep + "\\" + file).c_str(), FALSE)) << file;

    launcher_ = std::make_unique<Process>();
    Process otherEngine;
    ASSERT_TRUE(otherEngine.Start(game_.path(), "TALVEX.EXE", "-stay 120000"));
    ASSERT_TRUE(WaitProcessListed(otherEngine.id(), kPatience));
    ASSERT_TRUE(launcher_->Start(deep, "Velkarion.exe", ""));
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr) << "an engine of another folder blocked the launcher";
    PressKey(title, VK_ESCAPE);
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);

    Process ownEngine;
    ASSERT_TRUE(ownEngine.Start(deep, "TALVEX.EXE", "-stay 120000"));
    ASSERT_TRUE(WaitProcessListed(ownEngine.id(), kPatience));
    Process blocked;
    ASSERT_TRUE(blocked.Start(deep, "Velkarion.exe", ""));
    HWND box = WaitForMessageBox(blocked.id(), kWindowWait);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "VELK körs redan.");
    PressKey(box, VK_RETURN);
    EXPECT_EQ(blocked.WaitExit(kExitWait), 0u);
}

TEST_F(LaunchFlow, OfLaunchersStartedTogetherExactlyOneShowsItsTitleWindow) {
    ReturningPlayer();
    Process launchers[3];
    for (Process& launcher : launchers) ASSERT_TRUE(launcher.Start(game_.widePath(), "Velkarion.exe", "", true));
    for (Process& launcher : launchers) launcher.Resume();
    HWND title = nullptr;
    WaitUntil([&] {
        for (Process& launcher : launchers) title = title ? title : WaitForWindowNow(launcher.id(), "Velkarion");
        return title != nullptr;
    });
    ASSERT_NE(title, nullptr) << "no launcher showed its title window";
    PressKey(title, VK_ESCAPE);
    DWORD runs = 0;  // each ends with 1 after a run, 0 when it stops at once
    for (Process& launcher : launchers) runs += launcher.WaitExit(kExitWait);
    EXPECT_EQ(runs, 1u);
}

TEST_F(LaunchFlow, RunCountStopsAtItsLargestValue) {
    registry_.SetNumber("Num Launcher Runs", 2147483647);
    Start("");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    PressKey(title, VK_ESCAPE);
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(Number("Num Launcher Runs"), 2147483647u);
}

TEST_F(LaunchFlow, UnwritableCommandFileIsToldOverTheTitleWindow) {
    ReturningPlayer();
    ASSERT_TRUE(CreateDirectoryA((game_ / "velkcmds.txt").c_str(), nullptr));
    Start("");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    ClickControl(title, 1);
    HWND box = WaitForMessageBox(launcher_->id(), kWindowWait);
    ASSERT_NE(box, nullptr) << "the failed write went unsaid";
    EXPECT_NE(MessageBoxText(box).find("velkcmds.txt"), std::string::npos) << MessageBoxText(box);
    // Owned by the title window, shown again: the one with the picture frame.
    title = GetWindow(box, GW_OWNER);
    ASSERT_NE(title, nullptr);
    EXPECT_NE(GetDlgItem(title, 1003), nullptr);
    EXPECT_TRUE(IsWindowVisible(title));
    PressKey(box, VK_RETURN);
    ASSERT_TRUE(WaitWindowGone(box, kWindowWait));
    EXPECT_TRUE(IsWindowVisible(title));
    EXPECT_TRUE(ReadEngineStarts(game_.path()).empty());
    PressKey(title, VK_ESCAPE);
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
}

TEST_F(LaunchFlow, CommandFileKeptWhenTheNewOneCannotBeWrittenWhole) {
    ReturningPlayer();
    FullDisk disk(game_.scratch() + "\\full");
    for (const std::string place : {"read-only", "full"}) {
        SCOPED_TRACE(place);
        if (place == "full" && !disk.mounted()) GTEST_SKIP() << "no small file system: mounting needs root";
        ASSERT_TRUE(game_.MoveTo(place));
        ASSERT_TRUE(game_.Put("velkcmds.txt", "previous"));
        const std::string file = game_ / "velkcmds.txt";
        ASSERT_TRUE(place == "full" ? disk.Fill() : SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY) != 0);
        Start("-GOGAME");
        EXPECT_NE(AnswerBox().find("velkcmds.txt"), std::string::npos);
        EXPECT_EQ(CommandFile(), "previous");
        EXPECT_TRUE(ReadEngineStarts(game_.path()).empty());
        WIN32_FIND_DATAA found;
        EXPECT_EQ(FindFirstFileA((game_ / "*.tmp").c_str(), &found), INVALID_HANDLE_VALUE) << "left beside it";
        PressKey(TitleWindow(), VK_ESCAPE);
        EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that it can be removed
    }
}

TEST_F(LaunchFlow, SetupWithoutADiscStartsFromTheGameFolder) {
    ReturningPlayer();
    // No data disc in any drive: setup is looked for in the current folder.
    ASSERT_TRUE(CopyFileA((WindowsPath(VELK_DISC_DIR) + "\\SETUP.EXE").c_str(), (game_ / "SETUP.EXE").c_str(), FALSE));
    Start("");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    PostMessageA(title, WM_COMMAND, 3, 0);  // the setup command, as a control would send it
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    std::string record;
    WaitUntil([&] { return ReadFileText(game_ / "setup-record.txt", &record) && record.find("\nEND") != std::string::npos; });
    EXPECT_NE(record.find("cwd " + game_.path() + "\n"), std::string::npos) << record;
}

TEST_F(LaunchFlow, SetupMissingShowsBox4AndTheTitleReturns) {
    ReturningPlayer();
    Start("");
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    PostMessageA(title, WM_COMMAND, 1005, 0);
    EXPECT_EQ(AnswerBox(),
              "FELMEDDELANDE - Kan inte starta installationsprogrammet. Kontrollera att cd-skivan till VELK sitter "
              "i din cd-romläsare och försök igen.");
    title = TitleWindow();
    ASSERT_NE(title, nullptr);
    PressKey(title, VK_ESCAPE);
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
}

}  // namespace
}  // namespace velk::test
