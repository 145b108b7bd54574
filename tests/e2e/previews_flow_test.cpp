// The previews of the data disc as a player meets them: the title window's
// previews command (5, which a player's own title template may carry), the
// dialogs for the lists on the disc, and the shell opening a preview.
#include <gtest/gtest.h>

#include <algorithm>

#include "launcher_flow.h"

namespace velk::test {
namespace {

constexpr int kPreviewsCommand = 5;
constexpr int kPlayMovie = 1002;
constexpr int kPlayDemo = 1004;
constexpr int kMovieList = 1006;
constexpr int kDemoList = 1008;
const char* const kPreviewsTitle = "VELK - Förhandsvisningar";
const char* const kDemosTitle = "VELK - Demoversioner";
const char* const kMoviesTitle = "VELK - Filmer";
const char* const kNoDisc =
    "FELMEDDELANDE - Kommer inte åt förhandsvisningar av spel. Kontrollera att cd-skiva 1 till VELK sitter i din "
    "cd-romläsare och försök igen.";
const char* const kNoPreviews = "Det finns inga förhandsvisningar av spel på den här cd-skivan.";
const std::vector<std::string> kDemoMovies = {"Velkarion - förtexterna", "Borgen i skymningen",
                                              "Så gjordes Velkarion"};
const std::vector<std::string> kDemoDemos = {"Dalen vid Brannock - spelbar demo", "Belägringen - inspelad match"};

// The demo disc's movie and demo file types open with the stand-in browser,
// which records what the shell gave it; the test prefix has no other handler.
class StandInPreviewPlayer {
public:
    StandInPreviewPlayer() {
        const std::string command = "\"" + WindowsPath(VELK_BROWSER_EXE) + "\" \"%1\"";
        SetValue(HKEY_LOCAL_MACHINE, kClassKey + std::string("\\shell\\open\\command"), nullptr, REG_SZ,
                 command.c_str(), static_cast<DWORD>(command.size() + 1));
        for (const char* key : kTypeKeys) SetValue(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, "velk.previewfile", 17);
    }
    ~StandInPreviewPlayer() {
        for (const char* key : {kTypeKeys[0], kTypeKeys[1], kClassKey}) DeleteKeyTree(HKEY_LOCAL_MACHINE, key);
    }

private:
    static constexpr const char* kTypeKeys[] = {"Software\\Classes\\.avi", "Software\\Classes\\.dem"};
    static constexpr const char* kClassKey = "Software\\Classes\\velk.previewfile";
};

class PreviewsFlow : public LauncherFlow {
protected:
    StandInBrowser browser_;
    StandInPreviewPlayer player_;

    void SetUp() override {
        LauncherFlow::SetUp();
        TearDown();
    }
    void TearDown() override {
        for (char drive : {'R', 'S'}) EjectDisc(drive);
    }
    static void PutInDemoDisc(char letter) {
        EjectDisc(letter);
        ASSERT_TRUE(CopyTree(WindowsPath(VELK_DISC_DIR), DriveFolder(letter)));
    }
    void PressPreviews() { PostMessageA(title_, WM_COMMAND, kPreviewsCommand, 0); }
    // What the shell opened since the last call, one line per opening.
    std::string NextOpened() {
        std::string all;
        WaitUntil([&] { return (all = browser_.Opened()).size() > seen_ && all.back() == '\n'; });
        std::string fresh = all.substr(std::min(seen_, all.size()));
        seen_ = all.size();
        return fresh;
    }
    void CloseAndLeave(HWND dialog, WORD key) {
        PressKey(dialog, key);
        ASSERT_TRUE(WaitWindowGone(dialog, kWindowWait));
        EXPECT_EQ(WaitForMessageBox(launcher_->id(), 300), nullptr);
        PressKey(title_, VK_ESCAPE);
        EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
    }

private:
    size_t seen_ = 0;
};

TEST_F(PreviewsFlow, BothListsOpenTheChosenPreviewThroughTheShell) {
    PutInDemoDisc('R');
    StartToTitle();
    PressPreviews();
    HWND dialog = Window(kPreviewsTitle);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kMovieList)), kDemoMovies);
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kDemoList)), kDemoDemos);

    ClickControl(dialog, kPlayDemo);  // nothing selected yet
    Sleep(500);
    EXPECT_EQ(browser_.Opened(), "");

    ClickListItem(dialog, kDemoList, 1, 2);
    EXPECT_EQ(NextOpened(), "OPEN \"R:\\Previews\\Demos\\belagringen.dem\"\n");
    ClickListItem(dialog, kMovieList, 1);
    ClickControl(dialog, kPlayMovie);
    EXPECT_EQ(NextOpened(), "OPEN \"R:\\Previews\\Movies\\borgen.avi\"\n");
    CloseAndLeave(dialog, VK_ESCAPE);
}

TEST_F(PreviewsFlow, OneListTemplatesFollowTheDisc) {
    PutInDemoDisc('S');
    RemoveTree(DriveFolder('S') + "\\Previews\\Movies");
    StartToTitle();
    PressPreviews();
    HWND dialog = Window(kDemosTitle);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, kMovieList), nullptr);
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kDemoList)), kDemoDemos);
    PressKey(dialog, VK_RETURN);  // "Stäng"
    ASSERT_TRUE(WaitWindowGone(dialog, kWindowWait));

    // The lists are read afresh at every press.
    ASSERT_TRUE(CopyTree(WindowsPath(VELK_DISC_DIR) + "\\Previews\\Movies", DriveFolder('S') + "\\Previews\\Movies"));
    RemoveTree(DriveFolder('S') + "\\Previews\\Demos");
    PressPreviews();
    dialog = Window(kMoviesTitle);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, kDemoList), nullptr);
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kMovieList)), kDemoMovies);
    CloseAndLeave(dialog, VK_ESCAPE);
}

TEST_F(PreviewsFlow, WithoutDiscOrPreviewsABoxAndNoDialog) {
    StartToTitle();
    PressPreviews();
    EXPECT_EQ(AnswerBox(), kNoDisc);

    InsertDataDisc('R');  // the data disc, without previews
    PressPreviews();
    EXPECT_EQ(AnswerBox(), kNoPreviews);
    EXPECT_EQ(WaitForWindow(launcher_->id(), kPreviewsTitle, 300), nullptr);
    PressKey(title_, VK_ESCAPE);
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u);
}

}  // namespace
}  // namespace velk::test
