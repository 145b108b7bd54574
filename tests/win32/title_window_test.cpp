// The title dialog "GAME" made in this process from the launcher's template
// and driven by messages, as the dialog manager and the mouse would.
#include <gtest/gtest.h>

#include <functional>

#include "base/dialog_services.h"
#include "launcher/title_window.h"
#include "launcher_driver.h"
#include "test_support.h"
#include "ids_game.h"
#include "ids_strings.h"

namespace velk {
namespace {

using namespace velk::test;

class TitleWindowTest : public ::testing::Test {
protected:
    HWND dialog_ = nullptr;
    LauncherRun run_;
    TitleWindowData data_{run_};

    void SetUp() override {
        SetLauncherModule(GetModuleHandleA(nullptr));
        SetGameTitle("Velkarion");
        run_.titlePictureName = "GAME1";
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
    }
    void Open() {
        dialog_ = CreateDialogParamA(LauncherModule(), "GAME", nullptr, TitleWindowProc, (LPARAM)&data_);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOW);
    }
    POINT LinkCentre(int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog_, id), &r);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(dialog_, &p);
        return p;
    }
    // What the dialog procedure answers the dialog manager (SendMessage would
    // give the message result instead).
    INT_PTR Mouse(UINT message, WPARAM keys, POINT p) {
        return TitleWindowProc(dialog_, message, keys, MAKELPARAM(p.x, p.y));
    }
    INT_PTR Command(WPARAM command) { return TitleWindowProc(dialog_, WM_COMMAND, command, 0); }
};

TEST_F(TitleWindowTest, TemplateHoldsTheControlsOfTheTitleDialog) {
    Open();
    struct Control {
        int id;
        const char* className;
        DWORD style;
        const char* text;
    };
    const Control controls[] = {
        {IDC_GAME_PLAY, "Button", 0x50010001, "Starta"},
        {IDC_GAME_DISPLAY, "Button", 0x50010000, "Grafik..."},
        {IDC_GAME_ADVANCED, "Button", 0x50010000, "Avancerad..."},
        {IDC_GAME_LEAVE, "Button", 0x50010000, "Avsluta"},
        {IDC_GAME_LINK_MAKER, "Static", 0x50020001, nullptr},
        {IDC_GAME_LINK_GAME, "Static", 0x50020001, nullptr},
        {IDC_GAME_LINK_NEWS, "Static", 0x50020001, nullptr},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.id);
        HWND h = GetDlgItem(dialog_, c.id);
        ASSERT_NE(h, nullptr);
        char cls[32];
        GetClassNameA(h, cls, sizeof(cls));
        EXPECT_STRCASEEQ(cls, c.className);
        // The dialog manager may add BS_DEFPUSHBUTTON-like state bits only to buttons it focuses.
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & ~WS_TABSTOP & ~BS_DEFPUSHBUTTON,
                  c.style & ~WS_TABSTOP & ~BS_DEFPUSHBUTTON);
        if (c.text) { EXPECT_EQ(WindowTextUtf8(h), c.text); }
    }
    EXPECT_EQ(WindowTextUtf8(dialog_), "Velkarion");
    HWND frame = GetDlgItem(dialog_, IDC_GAME_PICTURE);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)) & 0xFFF, 0xA0Eu);
}

TEST_F(TitleWindowTest, InitLoadsPictureAndPaletteAndTakesTheLinkRectangles) {
    Open();
    const TitleWindowData& s = data_;
    ASSERT_NE(s.titleImages, nullptr);
    ASSERT_NE(s.titleDib, nullptr);
    ASSERT_NE(s.titlePalette, nullptr);
    EXPECT_EQ(s.titleImages->currentPalette, s.titlePalette);
    EXPECT_EQ(s.titleDib->width, 320);
    EXPECT_EQ(s.titleDib->height, 240);
    EXPECT_EQ(s.titleDib->bitsPerPixel, 8);
    const int ids[] = {IDC_GAME_LINK_MAKER, IDC_GAME_LINK_GAME, IDC_GAME_LINK_NEWS};
    for (int i = 0; i < 3; ++i) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog_, ids[i]), &r);
        POINT tl = {r.left, r.top}, br = {r.right, r.bottom};
        ScreenToClient(dialog_, &tl);
        ScreenToClient(dialog_, &br);
        EXPECT_EQ(s.linkRects[i].left, tl.x);
        EXPECT_EQ(s.linkRects[i].top, tl.y);
        EXPECT_EQ(s.linkRects[i].right, br.x);
        EXPECT_EQ(s.linkRects[i].bottom, br.y);
    }
}

TEST_F(TitleWindowTest, PaletteFallsBackToGameThenGame1) {
    run_.titlePictureName = "GAME7";  // neither picture nor palette of that name exists
    Open();
    const TitleWindowData& s = data_;
    EXPECT_NE(s.titlePalette, nullptr) << "the GAME1 palette was not taken";
    EXPECT_EQ(s.titleDib, nullptr);
    // Painting without a picture draws nothing and does not fail.
    PaintTitlePicture(dialog_, false);
}

TEST_F(TitleWindowTest, EachShowingMakesItsPicturesAfresh) {
    Open();
    const DibManager* first = data_.titleImages.get();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(InitTitleWindow(dialog_), 1);
    EXPECT_NE(data_.titleImages.get(), nullptr);
    EXPECT_NE(data_.titleDib, nullptr);
    EXPECT_EQ(InitTitleWindow(nullptr), 0);
}

TEST_F(TitleWindowTest, CursorFollowsTheLinksAndTheButton) {
    Open();
    const TitleWindowData& s = data_;
    ASSERT_NE(s.linkCursor, nullptr);
    ASSERT_NE(s.linkPressedCursor, nullptr);
    struct Case {
        UINT message;
        WPARAM keys;
        POINT at;
        HCURSOR expected;
    };
    const POINT link2 = LinkCentre(IDC_GAME_LINK_GAME);
    const Case cases[] = {
        {WM_MOUSEMOVE, 0, link2, s.linkCursor},
        {WM_MOUSEMOVE, MK_LBUTTON, link2, s.linkPressedCursor},
        {WM_MOUSEMOVE, 0, POINT{2, 2}, s.arrowCursor},
        {WM_LBUTTONDOWN, MK_LBUTTON, LinkCentre(IDC_GAME_LINK_NEWS), s.linkPressedCursor},
        {WM_LBUTTONDOWN, MK_LBUTTON, POINT{2, 2}, s.arrowCursor},
    };
    for (const Case& c : cases) {
        SetCursor(nullptr);
        EXPECT_EQ(Mouse(c.message, c.keys, c.at), 1);
        EXPECT_EQ(GetCursor(), c.expected) << c.at.x << "," << c.at.y;
    }
    EXPECT_EQ(TitleWindowProc(dialog_, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog_), 0), 1);
    EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, link2), 1);
}

TEST_F(TitleWindowTest, HitTestAnswersLinkNumbersWithEdgesIncluded) {
    Open();
    const LinkRect& r = data_.linkRects[1];
    EXPECT_EQ(HitTestLinks(dialog_, 0, r.right, r.bottom), 2);
    EXPECT_EQ(HitTestLinks(dialog_, 0, r.left, r.top), 2);
    EXPECT_EQ(HitTestLinks(dialog_, 0, r.right + 1, r.bottom), 0);
    EXPECT_EQ(HitTestLinks(nullptr, 0, r.left, r.top), 0);
}

TEST_F(TitleWindowTest, MissingLinkStaticIsNeverHit) {
    Open();
    POINT p = LinkCentre(IDC_GAME_LINK_MAKER);
    DestroyWindow(GetDlgItem(dialog_, IDC_GAME_LINK_MAKER));
    ASSERT_EQ(InitTitleWindow(dialog_), 1);
    EXPECT_EQ(data_.linkRects[0].left, kAbsentLink);
    EXPECT_EQ(HitTestLinks(dialog_, 0, p.x, p.y), 0);
    EXPECT_EQ(HitTestLinks(dialog_, 0, -999, data_.linkRects[0].top), 0);
}

TEST_F(TitleWindowTest, ReleasingAClickOverALinkOpensItsAddress) {
    StandInBrowser browser;
    Open();
    struct Case {
        int link;
        const char* address;
    };
    const Case cases[] = {
        {IDC_GAME_LINK_MAKER, "http://www.brannock.example/"},
        {IDC_GAME_LINK_GAME, "http://www.velkarion.example/"},
        {IDC_GAME_LINK_NEWS, "http://news.velkarion.example/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        DeleteFileA(browser.recordFile().c_str());
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, POINT{2, 2});  // pressed outside any link
        EXPECT_EQ(Mouse(WM_LBUTTONUP, 0, LinkCentre(c.link)), 1);
        EXPECT_NE(browser.WaitOpened().find(c.address), std::string::npos) << browser.Opened();
    }
    DeleteFileA(browser.recordFile().c_str());
    Mouse(WM_LBUTTONUP, 0, POINT{2, 2});
    Sleep(300);
    EXPECT_EQ(browser.Opened(), "");
}

// A link may show its address shortened, but always with the host it opens.
TEST_F(TitleWindowTest, EachLinkShowsTheHostItOpens) {
    Open();
    auto host = [](std::string text) {
        size_t scheme = text.find("://");
        if (scheme != std::string::npos) text.erase(0, scheme + 3);
        return text.substr(0, text.find('/'));
    };
    const std::pair<int, UINT> links[] = {{IDC_GAME_LINK_MAKER, IDS_MAKER_WEB_SITE},
                                          {IDC_GAME_LINK_GAME, IDS_GAME_WEB_SITE},
                                          {IDC_GAME_LINK_NEWS, IDS_NEWS_WEB_SITE}};
    for (const auto& [control, address] : links) {
        char shown[256] = {};
        GetDlgItemTextA(dialog_, control, shown, sizeof(shown));
        EXPECT_EQ(host(shown), host(LoadResString(address))) << shown;
    }
}

TEST_F(TitleWindowTest, WebAndHelpCommandsOpenThroughTheShell) {
    StandInBrowser browser;
    TempFolder game;
    ASSERT_TRUE(WriteFileText(game / "VELK.hlp", "help"));
    ScopedCurrentFolder in(game.path());
    Open();
    EXPECT_EQ(Command(IDC_GAME_WEB_SITE), 1);
    EXPECT_NE(browser.WaitOpened().find("http://www.velkarion.example/"), std::string::npos);
    DeleteFileA(browser.recordFile().c_str());
    EXPECT_EQ(Command(IDC_GAME_HELP), 1);
    EXPECT_NE(browser.WaitOpened().find("VELK.hlp"), std::string::npos) << browser.Opened();
}

// Answers the message box the dialog is about to show; gives its text.
DWORD WINAPI AnswerBox(void* out) {
    HWND box = WaitForMessageBox(GetCurrentProcessId(), kPatience);
    if (!box) return 1;
    *static_cast<std::string*>(out) = MessageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

std::string BoxShownBy(const std::function<void()>& action) {
    std::string text;
    HANDLE t = CreateThread(nullptr, 0, AnswerBox, &text, 0, nullptr);
    action();
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    return text;
}

TEST_F(TitleWindowTest, AddressesThatDoNotOpenShowTheirBoxes) {
    StandInBrowser browser;
    browser.RemoveWebHandler();
    TempFolder empty;  // no help file here
    ScopedCurrentFolder in(empty.path());
    Open();
    EXPECT_EQ(BoxShownBy([&] { EXPECT_FALSE(OpenResourceLink(dialog_, IDS_GAME_WEB_SITE, IDS_WEB_NOT_OPENED)); }),
              "FELMEDDELANDE - Kan inte öppna webbsidan. Kontrollera att din webbläsare och internetanslutning är "
              "korrekt konfigurerade.");
    EXPECT_EQ(BoxShownBy([&] { SendMessageA(dialog_, WM_COMMAND, IDC_GAME_HELP, 0); }),
              "FELMEDDELANDE - Kan inte starta hjälpfil till  VELK. Kontrollera att VELK är korrekt installerat.");
    // A string that does not load: false, and no box.
    EXPECT_FALSE(OpenResourceLink(dialog_, 999, IDS_WEB_NOT_OPENED));
    EXPECT_EQ(WaitForMessageBox(GetCurrentProcessId(), 300), nullptr);
}

TEST_F(TitleWindowTest, CommandsAnswerAsTheTableSays) {
    Open();
    struct Case {
        WPARAM command;
        INT_PTR handled;
    };
    const Case cases[] = {
        {IDC_GAME_CUSTOMIZE, 1},                       // no template: nothing shows
        // The previews command shows a box or a dialog: see the previews flow test.
        // The advanced button opens its warning: see the advanced options flow test.
        {12345, 0},                                    // unknown
        {MAKEWPARAM(IDC_GAME_PLAY, BN_SETFOCUS), 0},   // not a click
    };
    for (const Case& c : cases) EXPECT_EQ(Command(c.command), c.handled) << c.command;
    // Painting leaves the rest to the dialog manager.
    EXPECT_EQ(TitleWindowProc(dialog_, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(dialog_), 0), 0);
    EXPECT_EQ(TitleWindowProc(dialog_, WM_ACTIVATEAPP, 1, 0), 0);
    EXPECT_EQ(data_.appActive, 1);
    EXPECT_EQ(TitleWindowProc(dialog_, WM_ACTIVATEAPP, 0, 0), 0);
    EXPECT_EQ(data_.appActive, 0);
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_EQ(OpenCustomize(dialog_, run_), -1);
}

TEST_F(TitleWindowTest, StartSoundNeedsAName) {
    // Whether a named sound plays is the platform's answer (asynchronous
    // playing may accept any name); without a name nothing is asked.
    EXPECT_FALSE(PlayStartSound(nullptr));
}

}  // namespace
}  // namespace velk
