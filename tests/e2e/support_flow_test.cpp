// Troubleshooting as a player meets it: "Felsökning..." in the advanced
// options, the summary, "Kopiera", "Spara...", and the reset of the settings.
#include <gtest/gtest.h>

#include <map>

#include "launcher_flow.h"

namespace velk::test {
namespace {

constexpr int kFogBox = 1057;
constexpr int kSupportButton = 1074;
constexpr int kSummaryField = 1200;
constexpr int kCopyButton = 1201;
constexpr int kSaveButton = 1202;
constexpr int kResetButton = 1203;
const char* const kSupportTitle = "VELK - felsökning";

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<clipboard not opened>";
    std::string text = "<no text>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Utf8FromWide(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// The summary as compared here: without the blanks that line its values up.
std::string Squeezed(std::string text) {
    for (size_t at; (at = text.find(":  ")) != std::string::npos;) text.erase(at + 1, 1);
    return text;
}

// Every value under the launcher's key, as "type:data" by name.
std::map<std::string, std::string> RegistryValues() {
    std::map<std::string, std::string> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLauncherKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    char name[256];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof(name), size = sizeof(data), type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
    }
    RegCloseKey(key);
    return values;
}

class SupportFlow : public LauncherFlow {
protected:
    HWND advanced_ = nullptr;
    HWND support_ = nullptr;

    void OpenSupport() {
        advanced_ = OpenAdvanced();
        ASSERT_NE(advanced_, nullptr);
        ClickControl(advanced_, kSupportButton);
        support_ = Window(kSupportTitle);
        ASSERT_NE(support_, nullptr);
    }
    std::string Summary() { return ControlText(support_, kSummaryField); }
    bool Shows(const std::string& text) { return Squeezed(Summary()).find(text) != std::string::npos; }
};

TEST_F(SupportFlow, CopyAndSaveHoldExactlyTheSummaryShown) {
    FullDisk disk(game_.scratch() + "\\full");
    ASSERT_TRUE(game_.MoveTo("full"));
    StartToTitle("-nosound");
    OpenSupport();
    const std::string summary = Summary();
    EXPECT_TRUE(Shows("Spelmapp: " + game_.path() + "\r\n")) << summary;
    EXPECT_TRUE(Shows("Kommandorad: \"-nosound\"")) << summary;
    EXPECT_TRUE(Shows("Num Launcher Runs: REG_DWORD 4 (0x00000004)")) << summary;
    EXPECT_TRUE(Shows("Sökning: inte sökt")) << summary;

    OpenClipboard(nullptr), EmptyClipboard(), CloseClipboard();
    ClickControl(support_, kCopyButton);
    // Looked into once the launcher has copied and let go (a copy finds the clipboard held by the test and fails).
    ASSERT_TRUE(WaitUntil([&] { return GetClipboardOwner() == support_ && !GetOpenClipboardWindow(); }));
    EXPECT_EVENTUALLY_EQ(ClipboardText(), summary);

    ClickControl(support_, kSaveButton);
    HWND saveAs = Window("Save As");
    ASSERT_NE(saveAs, nullptr);
    PressKey(saveAs, VK_RETURN);  // the suggestion: velksupport.txt in the game folder
    ASSERT_TRUE(WaitWindowGone(saveAs, kWindowWait));
    auto saved = [&] {
        std::string text;
        ReadFileText(game_ / "velksupport.txt", &text);
        return text;
    };
    EXPECT_EVENTUALLY_EQ(saved(), "\xEF\xBB\xBF" + summary);

    // A file the launcher cannot write (held open by another program): the player is told.
    HANDLE held = CreateFileA((game_ / "velksupport.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ClickControl(support_, kSaveButton);
    saveAs = Window("Save As");
    ASSERT_NE(saveAs, nullptr);
    PressKey(saveAs, VK_RETURN);
    AnswerBox(VK_RETURN, nullptr, saveAs);  // the system asks whether to replace the file: yes
    EXPECT_EQ(AnswerBox(VK_RETURN, nullptr, support_),
              "FELMEDDELANDE - Kunde inte spara felsökningsrapporten. Kontrollera att mappen finns, att filen inte "
              "är skrivskyddad och att det finns plats kvar på disken.");
    CloseHandle(held);
    if (!disk.mounted()) GTEST_SKIP() << "no small file system for a full disk: mounting needs root";
    ASSERT_TRUE(disk.Fill());  // saving again on a full disk keeps the report saved before
    ClickControl(support_, kSaveButton);
    ASSERT_NE(saveAs = Window("Save As"), nullptr);
    PressKey(saveAs, VK_RETURN);
    AnswerBox(VK_RETURN, nullptr, saveAs);
    EXPECT_NE(AnswerBox(VK_RETURN, nullptr, support_).find("plats kvar"), std::string::npos);
    EXPECT_EQ(saved(), "\xEF\xBB\xBF" + summary);

    PressKey(support_, VK_ESCAPE);
    EXPECT_TRUE(WaitWindowGone(support_, kWindowWait));
    Close(advanced_, IDCANCEL);
    Leave();
}

TEST_F(SupportFlow, ResetAsksFirstThenClearsThePlayersChoicesOnly) {
    const char* const kept[] = {"Display Warned", "Num Launcher Runs", "Last Random", "Language", "AdvWarning",
                                "Sound Enum Warning", "AdvOptSel", "3DCardSel", "Update Command Line",
                                "Content Command Line", "CdRom Drive"};
    for (const char* name : {"Disable Sound", "Disable Music", "Disable Movies", "Disable Fog", "Disable Joystick",
                             "Disable TripBuf", "Disable Cursor", "Disable Loadscreen", "Save Commands",
                             "Save Rez Files", "Sound Provider", "Sound 3D Samples", "Sound 2D Samples", "Sound Reverb",
                             "Display Warned", "Last Random", "Sound Enum Warning", "AdvOptSel", "3DCardSel"})
        registry_.SetNumber(name, 1);
    registry_.SetText("Commands", "+god 1");
    registry_.SetText("Rez Files", "a.rez");
    registry_.SetText("Sound Provider Name", "First");
    registry_.SetText("Language", "Swedish");
    registry_.SetText("Update Command Line", "");
    registry_.SetText("Content Command Line", "+extra 1");
    registry_.SetText("CdRom Drive", "Q");
    ASSERT_TRUE(WriteFileText(game_ / "mss32_standin.txt", "provider First\n"));
    StartToTitle();

    // This run's display and sound choices, confirmed before the reset.
    ClickControl(title_, kGrafik);
    HWND display = Window("VELK - Grafikinställningar");
    ASSERT_NE(display, nullptr);
    Close(display, IDOK);
    advanced_ = OpenAdvanced();
    ASSERT_NE(advanced_, nullptr);
    ClickControl(advanced_, kSoundButton);
    HWND sound = Window("VELK - 3D-ljud");
    ASSERT_NE(sound, nullptr);
    Close(sound, IDOK);
    ClickControl(advanced_, kSupportButton);
    support_ = Window(kSupportTitle);
    ASSERT_NE(support_, nullptr);
    EXPECT_TRUE(Shows("Sökning: 1 försörjare")) << Summary();
    EXPECT_TRUE(IsTicked(advanced_, kFogBox));

    const std::map<std::string, std::string> before = RegistryValues();
    ClickControl(support_, kResetButton);
    const std::string question = AnswerBox(VK_ESCAPE, nullptr, support_);
    EXPECT_NE(question.find("Avaktivera-rutorna, den sparade kommandoraden, de valda rez-filerna och valet av 3D-ljud"),
              std::string::npos)
        << question;
    EXPECT_EQ(RegistryValues(), before) << "Cancel changed the registry";
    EXPECT_FALSE(Shows("Återställt"));

    ClickControl(support_, kResetButton);
    AnswerBox(VK_RETURN, nullptr, support_);
    EXPECT_TRUE(WaitUntil([&] { return Shows("Återställt i denna körning"); })) << Summary();
    std::map<std::string, std::string> expected;
    for (const char* name : kept) expected[name] = before.at(name);
    EXPECT_EQ(RegistryValues(), expected);

    Close(support_, IDCANCEL);
    EXPECT_FALSE(IsTicked(advanced_, kFogBox));
    EXPECT_TRUE(IsTicked(advanced_, kRestoreBox));
    EXPECT_EQ(ControlText(advanced_, kCommandsField), "");
    Close(advanced_, IDCANCEL);  // does not undo the reset

    ClickControl(title_, kStarta);
    HWND detail = Window(kDetailTitle);
    ASSERT_NE(detail, nullptr) << "no performance question after the reset";
    PressKey(detail, VK_RETURN);
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(game_.CommandFile(), std::string(kDemoCommandHead) + " +extra 1 +multiplayer 0 " + kAllSwitchesOff +
                                       " -config defaults.cfg ++PerformanceLevel 1  ");
}

TEST_F(SupportFlow, FaultingRendererAndMissingArchiveShow) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string standins = path;
    standins = standins.substr(0, standins.find_last_of('\\'));
    standins = standins.substr(0, standins.find_last_of('\\')) + "\\standins\\renderers\\";
    ASSERT_TRUE(
        CopyFileA((standins + "standin_faultget.ren").c_str(), (game_ / "standin_faultget.ren").c_str(), FALSE));
    ASSERT_TRUE(DeleteFileA((game_ / "sound.rez").c_str()));
    registry_.SetNumber("Display Warned", 1);
    StartToTitle();

    OpenSupport();
    EXPECT_TRUE(Shows("Arkiv sound.rez: saknas")) << Summary();
    // The modules are not loaded for the summary.
    EXPECT_TRUE(Shows("standin_faultget.ren: inte undersökt i denna körning")) << Summary();
    Close(support_, IDCANCEL);
    Close(advanced_, IDCANCEL);

    ClickControl(title_, kGrafik);
    HWND display = Window("VELK - Grafikinställningar");
    ASSERT_NE(display, nullptr);
    Close(display, IDCANCEL);
    OpenSupport();
    EXPECT_TRUE(Shows("standin_faultget.ren: utelämnad: fel inuti modulen")) << Summary();
    EXPECT_TRUE(Shows("standin_demo_hw.ren: erbjuds, 2 kort")) << Summary();
    Close(support_, IDCANCEL);
    Close(advanced_, IDCANCEL);
    Leave();
}

}  // namespace
}  // namespace velk::test
