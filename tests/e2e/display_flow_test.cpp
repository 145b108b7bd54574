// The display settings as a player meets them: "Grafik..." in the title
// window, the warning, the dialog "DISPLAY" and what reaches the engine.
#include <gtest/gtest.h>

#include "launcher_flow.h"

namespace velk::test {
namespace {

constexpr int kRendererList = 1034;
constexpr int kCardList = 1032;
constexpr int kModeList = 1033;
const char* const kDisplayTitle = "VELK - Grafikinställningar";
const char* const kDisplayWarning =
    "De tillgängliga skärmalternativen för din dator kommer nu att kalkyleras. Detta kan ta lite tid beroende på "
    "vilken maskinvara som är installerad.\n\nOm inget dyker upp i skärmdialogen bör du kontrollera att DirectX "
    "7.0 är korrekt installerat på din dator.";
const char* const kNoRenderer =
    "Hittade inga renderare. Detta problem beror vanligen på att DirectX 7.0 inte är korrekt installerat. "
    "Kontrollera att DirectX 7.0 är installerat och kör installationsprogrammet en gång till om det behövs.";

const std::string kDisplayHead = std::string(kDemoCommandHead) + " +multiplayer 0 " + kAllSwitchesOff;
// The saved choice of the demo folder's autoexec.cfg.
const std::string kSavedFragment =
    " ++RenderDll standin_demo_hw.ren ++CardDesc display ++Renderer \"Stand-in Primary Display\" "
    "++screenwidth 1024 ++screenheight 768 ++bitdepth 32";

std::string SelectedText(HWND list) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    std::vector<std::string> texts = ListBoxTexts(list);
    return index >= 0 && index < static_cast<LRESULT>(texts.size()) ? texts[index] : "<none>";
}

class DisplayFlow : public LauncherFlow {
protected:
    // Presses "Grafik..." and answers the box that comes with the key; gives its text.
    std::string ClickGrafikAndAnswer(WORD key) {
        ClickControl(title_, kGrafik);
        return AnswerBox(key);
    }
    HWND WaitDisplay() { return Window(kDisplayTitle); }
    HWND OpenDisplayFirstTime() {
        EXPECT_EQ(ClickGrafikAndAnswer(VK_RETURN), kDisplayWarning);
        return WaitDisplay();
    }
    std::vector<std::string> RenderersInSearchOrder() {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((game_ / "*.REN").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do names.push_back(data.cFileName);
        while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }
    DWORD Number(const char* name) { return registry_.Number(name); }
};

TEST_F(DisplayFlow, WarningCancelledOpensNothingAndComesAgain) {
    StartToTitle();
    EXPECT_EQ(ClickGrafikAndAnswer(VK_ESCAPE), kDisplayWarning);
    EXPECT_EQ(WaitForWindow(launcher_->id(), kDisplayTitle, 300), nullptr);
    EXPECT_EQ(ClickGrafikAndAnswer(VK_ESCAPE), kDisplayWarning);
    EXPECT_FALSE(StaysWithoutWindow(launcher_->id(), 300));  // the title window is still there
    Leave();
    EXPECT_EQ(Number("Display Warned"), 0u);
}

TEST_F(DisplayFlow, DialogListsRenderersInSearchOrderWithTheSavedChoice) {
    StartToTitle();
    HWND dialog = OpenDisplayFirstTime();
    ASSERT_NE(dialog, nullptr);
    std::vector<std::string> expected;
    for (const std::string& name : RenderersInSearchOrder()) {
        expected.push_back(name == "standin_demo_hw.ren" ? "Stand-in Hardware Renderer (standin_demo_hw.ren)"
                                                         : "Stand-in Software Renderer (standin_demo_sw.ren)");
    }
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kRendererList)), expected);
    EXPECT_EQ(SelectedText(GetDlgItem(dialog, kRendererList)), "Stand-in Hardware Renderer (standin_demo_hw.ren)");
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kCardList)),
              (std::vector<std::string>{"Stand-in Primary Display (display)", "Stand-in 3D Accelerator (accel3d)"}));
    EXPECT_EQ(SelectedText(GetDlgItem(dialog, kCardList)), "Stand-in Primary Display (display)");
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kModeList)),
              (std::vector<std::string>{"640 x 480 x 16", "640 x 480 x 32", "800 x 600 x 16", "800 x 600 x 32",
                                        "1024 x 768 x 16", "1024 x 768 x 32", "1280 x 960 x 32",
                                        "1600 x 1200 x 32"}));
    EXPECT_EQ(SelectedText(GetDlgItem(dialog, kModeList)), "1024 x 768 x 32");
    Close(dialog, IDCANCEL);
    Leave();
    EXPECT_EQ(Number("Display Warned"), 1u);
}

TEST_F(DisplayFlow, ChoosingAnotherRendererRefillsCardsAndModes) {
    StartToTitle();
    HWND dialog = OpenDisplayFirstTime();
    ASSERT_NE(dialog, nullptr);
    HWND renderers = GetDlgItem(dialog, kRendererList);
    int software = -1;
    std::vector<std::string> texts = ListBoxTexts(renderers);
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i].find("standin_demo_sw.ren") != std::string::npos) software = static_cast<int>(i);
    ASSERT_GE(software, 0);
    ClickListItem(dialog, kRendererList, software);
    EXPECT_EQ(SelectedText(renderers), "Stand-in Software Renderer (standin_demo_sw.ren)");
    // The cards and modes are filled anew when the click ends.
    EXPECT_EVENTUALLY_EQ(ListBoxTexts(GetDlgItem(dialog, kCardList)),
                         (std::vector<std::string>{"Stand-in Software Rasterizer (software)"}));
    EXPECT_EQ(ListBoxTexts(GetDlgItem(dialog, kModeList)),
              (std::vector<std::string>{"640 x 480 x 16", "800 x 600 x 16", "1024 x 768 x 16"}));
    EXPECT_EQ(SelectedText(GetDlgItem(dialog, kModeList)), "640 x 480 x 16");  // its default

    ClickListItem(dialog, kModeList, 1);
    Close(dialog, IDOK);
    EXPECT_EQ(PlayAndReadCommandFile(),
              kDisplayHead + " ++RenderDll standin_demo_sw.ren ++CardDesc software ++Renderer \"Stand-in Software "
                      "Rasterizer\" ++screenwidth 800 ++screenheight 600 ++bitdepth 16  ");
}

TEST_F(DisplayFlow, OkThenStartaCarriesTheChoiceToTheEngine) {
    StartToTitle();
    HWND dialog = OpenDisplayFirstTime();
    ASSERT_NE(dialog, nullptr);
    Close(dialog, IDOK);
    EXPECT_EQ(PlayAndReadCommandFile(), kDisplayHead + kSavedFragment + "  ");
    auto starts = WaitEngineStarts(game_.path(), 1, kExitWait);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandFile, kDisplayHead + kSavedFragment + "  ");
}

TEST_F(DisplayFlow, CancelAfterAnEarlierOkLeavesTheChoiceOut) {
    StartToTitle();
    HWND dialog = OpenDisplayFirstTime();
    ASSERT_NE(dialog, nullptr);
    Close(dialog, IDOK);
    ClickControl(title_, kGrafik);  // warned now: the dialog comes straight up
    dialog = WaitDisplay();
    ASSERT_NE(dialog, nullptr);
    Close(dialog, IDCANCEL);
    EXPECT_EQ(PlayAndReadCommandFile(), kDisplayHead + "  ");
}

TEST_F(DisplayFlow, NoRenderersGiveBox51OnEveryClickWithoutSearchingAgain) {
    for (const std::string& name : RenderersInSearchOrder()) ASSERT_TRUE(DeleteFileA((game_ / name).c_str()));
    registry_.SetNumber("Display Warned", 1);
    StartToTitle();
    EXPECT_EQ(ClickGrafikAndAnswer(VK_RETURN), kNoRenderer);
    // Renderers that turn up later in the run are not searched for.
    ASSERT_TRUE(CopyFileA((WindowsPath(VELK_GAME_DIR) + "\\standin_demo_hw.ren").c_str(),
                          (game_ / "standin_demo_hw.ren").c_str(), FALSE));
    EXPECT_EQ(ClickGrafikAndAnswer(VK_RETURN), kNoRenderer);
    EXPECT_EQ(WaitForWindow(launcher_->id(), kDisplayTitle, 300), nullptr);
    EXPECT_EQ(PlayAndReadCommandFile(), kDisplayHead + "  ");
}

}  // namespace
}  // namespace velk::test
