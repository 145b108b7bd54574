// The dialog "DISPLAY" made from the launcher's template and driven by
// messages, and its opener with the warning and no-renderer boxes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/dialog_services.h"
#include "display/display_dialog.h"
#include "display/open_display.h"
#include "display/renderer_host_win32.h"
#include "modal_driver.h"
#include "test_support.h"
#include "ids_display.h"
#include "ids_strings.h"

namespace velk {
namespace {

using namespace velk::test;

std::wstring WideText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}


int Selection(HWND box) { return static_cast<int>(SendMessageA(box, LB_GETCURSEL, 0, 0)); }

// Renderers a.ren (two cards), b.ren (no description, no cards), c.ren (one card).
struct Model {
    RendererList list;
    Renderer* a;
    Renderer* b;
    Renderer* c;
    DisplayCard* a1;
    DisplayCard* a2;
    DisplayCard* c1;

    Model() {
        a = Add("a.ren", "Renderer A");
        b = Add("b.ren", "");
        c = Add("c.ren", "Renderer C");
        a1 = a->AddCard("Card1", "Example Card", 1);
        a1->AddMode(640, 480, 16);
        a1->AddMode(800, 600, 16);
        a2 = a->AddCard("Card2", "Second Card", 1);
        a2->AddMode(1024, 768, 16);
        a2->AddMode(1024, 768, 32);
        c1 = c->AddCard("Soft", "Software", 0);
        c1->AddMode(800, 600, 16);
        c1->AddMode(640, 480, 16);
        list.ChooseDefaultModes();
    }
    Renderer* Add(const char* file, const char* description) {
        list.items.push_back(std::make_unique<Renderer>());
        list.items.back()->fileName = file;
        list.items.back()->description = description;
        return list.items.back().get();
    }
};

class DisplayDialogTest : public ::testing::Test {
protected:
    Model model_;
    HWND dialog_ = nullptr;

    void SetUp() override { SetLauncherModule(GetModuleHandleA(nullptr)); }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
    }
    void Open() {
        dialog_ = CreateDialogParamA(LauncherModule(), "DISPLAY", nullptr, DisplayDialogProc,
                                     reinterpret_cast<LPARAM>(&model_.list));
        ASSERT_NE(dialog_, nullptr);
    }
    HWND Box(int id) { return GetDlgItem(dialog_, id); }
    // The player clicks item `index` of a list.
    void Choose(int id, int index) {
        SendMessageA(Box(id), LB_SETCURSEL, index, 0);
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Box(id)));
    }
    std::vector<std::string> Cards() { return ListBoxItems(Box(IDC_CARD_LIST)); }
    std::vector<std::string> Modes() { return ListBoxItems(Box(IDC_MODE_LIST)); }
};

TEST_F(DisplayDialogTest, TemplateLayoutAndListStyles) {
    Open();
    EXPECT_EQ(WideText(dialog_), L"VELK - Grafikinställningar");
    RECT client;
    GetClientRect(dialog_, &client);
    RECT size = {0, 0, 240, 170};
    MapDialogRect(dialog_, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    struct Control {
        int id;  // 0: the static with this text
        const wchar_t* text;
        RECT units;  // x, y, width, height
    } const controls[] = {
        {0, L"Grafikmotor:", {7, 7, 140, 8}},
        {IDC_RENDERER_LIST, nullptr, {7, 18, 226, 50}},
        {0, L"Grafikkort:", {7, 74, 140, 8}},
        {IDC_CARD_LIST, nullptr, {7, 85, 150, 50}},
        {0, L"Upplösning:", {163, 74, 70, 8}},
        {IDC_MODE_LIST, nullptr, {163, 85, 70, 50}},
        {IDOK, L"OK", {62, 149, 50, 14}},
        {IDCANCEL, L"Avbryt", {128, 149, 50, 14}},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.id);
        HWND h = nullptr;
        if (c.id) {
            h = GetDlgItem(dialog_, c.id);
        } else {
            for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (WideText(child) == c.text) h = child;
        }
        ASSERT_NE(h, nullptr);
        if (c.text) {
            EXPECT_EQ(WideText(h), c.text);
        }
        // The dialog manager maps the origin and the size of a control separately.
        RECT expected = c.units;
        MapDialogRect(dialog_, &expected);
        RECT actual;
        GetWindowRect(h, &actual);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);  // no integral height: the template's own
    }
    for (int id : {IDC_RENDERER_LIST, IDC_CARD_LIST, IDC_MODE_LIST}) {
        SCOPED_TRACE(id);
        DWORD style = static_cast<DWORD>(GetWindowLongA(Box(id), GWL_STYLE));
        EXPECT_EQ(style & LBS_SORT, 0u);
        EXPECT_EQ(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0u);
        const DWORD required = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
        EXPECT_EQ(style & required, required);
        // The dialog manager may turn the border into a sunken edge.
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(Box(id), GWL_EXSTYLE));
        EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
        // The scroll bar shows once the items no longer fit.
        for (int i = 0; i < 30; ++i) SendMessageA(Box(id), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
        EXPECT_NE(GetWindowLongA(Box(id), GWL_STYLE) & WS_VSCROLL, 0);
    }
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog_, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON, BS_DEFPUSHBUTTON);
    EXPECT_NE(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(DisplayDialogTest, FirstOpeningTakesFirstRendererLastCardAndItsDefaultMode) {
    Open();
    EXPECT_EQ(ListBoxItems(Box(IDC_RENDERER_LIST)),
              (std::vector<std::string>{"Renderer A (a.ren)", "b.ren", "Renderer C (c.ren)"}));
    EXPECT_EQ(Selection(Box(IDC_RENDERER_LIST)), 0);
    EXPECT_EQ(Cards(), (std::vector<std::string>{"Example Card (Card1)", "Second Card (Card2)"}));
    EXPECT_EQ(Selection(Box(IDC_CARD_LIST)), 1);
    EXPECT_EQ(Modes(), (std::vector<std::string>{"1024 x 768 x 16", "1024 x 768 x 32"}));
    EXPECT_EQ(Selection(Box(IDC_MODE_LIST)), 0);  // Card2 has no default: its first mode
    // The shown items became the current choices at once.
    EXPECT_EQ(model_.list.currentRenderer, model_.a);
    EXPECT_EQ(model_.a->currentCard, model_.a2);
    EXPECT_EQ(model_.a2->currentMode, model_.a2->modes[0].get());
}

TEST_F(DisplayDialogTest, OpeningShowsTheCurrentChoiceAtEveryLevel) {
    model_.list.currentRenderer = model_.c;
    model_.c->currentCard = model_.c1;
    model_.c1->currentMode = model_.c1->modes[0].get();
    Open();
    EXPECT_EQ(Selection(Box(IDC_RENDERER_LIST)), 2);
    EXPECT_EQ(Cards(), (std::vector<std::string>{"Software (Soft)"}));
    EXPECT_EQ(Modes(), (std::vector<std::string>{"800 x 600 x 16", "640 x 480 x 16"}));
    EXPECT_EQ(Selection(Box(IDC_MODE_LIST)), 0);
    EXPECT_EQ(model_.c1->currentMode, model_.c1->modes[0].get());
}

TEST_F(DisplayDialogTest, ChoosingRefillsTheLevelsBelowAndEachKeepsItsOwnChoice) {
    Open();
    Choose(IDC_CARD_LIST, 0);  // Card1: its default 640 x 480 x 16
    EXPECT_EQ(model_.a->currentCard, model_.a1);
    EXPECT_EQ(Modes(), (std::vector<std::string>{"640 x 480 x 16", "800 x 600 x 16"}));
    EXPECT_EQ(model_.a1->currentMode, model_.a1->modes[0].get());
    Choose(IDC_MODE_LIST, 1);
    EXPECT_EQ(model_.a1->currentMode, model_.a1->modes[1].get());

    Choose(IDC_RENDERER_LIST, 2);
    EXPECT_EQ(model_.list.currentRenderer, model_.c);
    EXPECT_EQ(Cards(), (std::vector<std::string>{"Software (Soft)"}));
    EXPECT_EQ(Modes(), (std::vector<std::string>{"800 x 600 x 16", "640 x 480 x 16"}));
    EXPECT_EQ(Selection(Box(IDC_MODE_LIST)), 1);  // the card's default mode
    EXPECT_EQ(model_.c->currentCard, model_.c1);

    Choose(IDC_RENDERER_LIST, 0);  // back: a.ren's own card and mode come again
    EXPECT_EQ(Selection(Box(IDC_CARD_LIST)), 0);
    EXPECT_EQ(Selection(Box(IDC_MODE_LIST)), 1);
    EXPECT_EQ(model_.a->currentCard, model_.a1);
    EXPECT_EQ(model_.a1->currentMode, model_.a1->modes[1].get());
}

TEST_F(DisplayDialogTest, RendererWithoutCardsEmptiesTheCardListOnly) {
    Open();
    std::vector<std::string> modesBefore = Modes();
    Choose(IDC_RENDERER_LIST, 1);
    EXPECT_EQ(model_.list.currentRenderer, model_.b);
    EXPECT_TRUE(Cards().empty());
    EXPECT_EQ(model_.b->currentCard, nullptr);
    EXPECT_EQ(Modes(), modesBefore);
    Choose(IDC_MODE_LIST, 1);  // the stale modes are not taken
    EXPECT_EQ(model_.a2->currentMode, model_.a2->modes[0].get());
    SendMessageA(dialog_, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(BuildDisplayFragment(model_.list), "");
}

TEST_F(DisplayDialogTest, OkKeepsAndCancelDropsOnlyTheRenderer) {
    Open();
    Choose(IDC_RENDERER_LIST, 2);
    SendMessageA(dialog_, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(model_.list.currentRenderer, model_.c);
    EXPECT_EQ(BuildDisplayFragment(model_.list),
              "++RenderDll c.ren ++CardDesc Soft ++Renderer \"Software\" ++screenwidth 640 ++screenheight 480 "
              "++bitdepth 16");
    DestroyWindow(dialog_);

    Open();
    EXPECT_EQ(Selection(Box(IDC_RENDERER_LIST)), 2);
    SendMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(model_.list.currentRenderer, nullptr);
    EXPECT_EQ(model_.c->currentCard, model_.c1);  // lower levels keep their choices
    EXPECT_EQ(model_.a->currentCard, model_.a2);
    EXPECT_EQ(BuildDisplayFragment(model_.list), "");
}

TEST_F(DisplayDialogTest, OtherCommandsChangeNothing) {
    Open();
    Choose(IDC_RENDERER_LIST, 2);
    SendMessageA(Box(IDC_RENDERER_LIST), LB_SETCURSEL, 0, 0);
    // A double click and a focus change are not selection changes.
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_RENDERER_LIST, LBN_DBLCLK), 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_RENDERER_LIST, LBN_SETFOCUS), 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS), 0);
    EXPECT_EQ(model_.list.currentRenderer, model_.c);
    EXPECT_EQ(Cards(), (std::vector<std::string>{"Software (Soft)"}));
}

TEST_F(DisplayDialogTest, SelectItemAndSelectedItem) {
    Open();
    HWND cards = Box(IDC_CARD_LIST);
    EXPECT_FALSE(SelectItemInBox(cards, nullptr));
    EXPECT_FALSE(SelectItemInBox(cards, model_.c1));  // not in this box
    EXPECT_FALSE(SelectItemInBox(nullptr, model_.a1));
    EXPECT_TRUE(SelectItemInBox(cards, model_.a1));
    EXPECT_EQ(SelectedItem(cards), model_.a1);
    SendMessageA(cards, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(SelectedItem(cards), nullptr);
    EXPECT_EQ(SelectedItem(nullptr), nullptr);
    EXPECT_FALSE(FillCardBox(nullptr, *model_.a));
    EXPECT_FALSE(InitDisplayLists(model_.list, Box(IDC_RENDERER_LIST), nullptr, Box(IDC_MODE_LIST)));
    EXPECT_FALSE(TakeDisplaySelection(model_.list, Box(IDC_RENDERER_LIST), cards, nullptr));
}

std::wstring MessageText(HWND box) { return WideText(GetDlgItem(box, 0xFFFF)); }

ModalDriver::Step Press(int command, std::wstring* text = nullptr) {
    return [command, text](HWND window) {
        if (text) *text = MessageText(window);
        PostMessageA(window, WM_COMMAND, command, 0);
    };
}

TEST_F(DisplayDialogTest, ModalResultsAreOneForOkAndZeroForCancel) {
    {
        ModalDriver driver({Press(IDOK)});
        EXPECT_EQ(ShowDisplayDialog(nullptr, model_.list), 1);
        EXPECT_EQ(driver.stepsTaken(), 1u);
    }
    EXPECT_EQ(model_.list.currentRenderer, model_.a);
    {
        ModalDriver driver({Press(IDCANCEL)});
        EXPECT_EQ(ShowDisplayDialog(nullptr, model_.list), 0);
    }
    EXPECT_EQ(model_.list.currentRenderer, nullptr);
}

// The opener on a display choice of the test's own, in a game folder of the test's own.
class OpenDisplayTest : public ::testing::Test {
protected:
    TempFolder game_;
    std::unique_ptr<ScopedCurrentFolder> inGame_;
    DisplayChoice choice_;

    void SetUp() override {
        SetLauncherModule(GetModuleHandleA(nullptr));
        SetGameTitle("Velkarion");
        inGame_ = std::make_unique<ScopedCurrentFolder>(game_.path());
    }
    void TearDown() override { inGame_.reset(); }
    void AddRenderers() {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, sizeof(path));
        std::string folder = path;
        folder = folder.substr(0, folder.find_last_of('\\'));
        folder = folder.substr(0, folder.find_last_of('\\')) + "\\standins\\renderers\\";
        for (const char* name : {"standin_demo_hw.ren", "standin_demo_sw.ren"})
            ASSERT_TRUE(CopyFileA((folder + name).c_str(), (game_ / name).c_str(), FALSE));
        ASSERT_TRUE(WriteFileText(game_ / "autoexec.cfg",
                                  "\"RenderDll\" \"standin_demo_hw.ren\"\n\"CardDesc\" \"display\"\n"
                                  "\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"32\"\n"));
    }
};

TEST_F(OpenDisplayTest, WarningDeclinedOpensNothingAndAsksAgain) {
    AddRenderers();
    std::wstring first, second;
    {
        ModalDriver driver({Press(IDCANCEL, &first)});
        EXPECT_EQ(OpenDisplaySettings(nullptr, choice_), 0);
    }
    EXPECT_EQ(first, ResourceText(IDS_DISPLAY_WARNING));
    EXPECT_EQ(choice_.warned, 0);
    EXPECT_EQ(choice_.renderers, nullptr);
    {
        ModalDriver driver({Press(IDCANCEL, &second)});
        EXPECT_EQ(OpenDisplaySettings(nullptr, choice_), 0);
        EXPECT_EQ(driver.stepsTaken(), 1u);
    }
    EXPECT_EQ(second, first);
}

TEST_F(OpenDisplayTest, AcceptedWarningSearchesOnceAndKeepsTheResult) {
    AddRenderers();
    HWND dialog = nullptr;
    std::vector<std::string> shownRenderers;
    {
        ModalDriver driver({Press(IDOK), [&](HWND window) {
                                dialog = window;
                                shownRenderers = ListBoxItems(GetDlgItem(window, IDC_RENDERER_LIST));
                                PostMessageA(window, WM_COMMAND, IDOK, 0);
                            }});
        EXPECT_EQ(OpenDisplaySettings(nullptr, choice_), 1);
        EXPECT_EQ(driver.stepsTaken(), 2u);
    }
    DisplayChoice& s = choice_;
    EXPECT_EQ(s.warned, 1);
    EXPECT_EQ(s.result, 1);
    ASSERT_NE(s.renderers, nullptr);
    EXPECT_EQ(shownRenderers.size(), 2u);
    EXPECT_EQ(choice_.Fragment(),
              "++RenderDll standin_demo_hw.ren ++CardDesc display ++Renderer \"Stand-in Primary Display\" "
              "++screenwidth 1024 ++screenheight 768 ++bitdepth 32");

    // Warned once: the dialog comes straight up, on the same list; Cancel is kept too.
    RendererList* list = s.renderers.get();
    {
        ModalDriver driver({Press(IDCANCEL)});
        EXPECT_EQ(OpenDisplaySettings(nullptr, choice_), 0);
        EXPECT_EQ(driver.stepsTaken(), 1u);
    }
    EXPECT_EQ(s.renderers.get(), list);
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(choice_.Fragment(), "");
}

TEST_F(OpenDisplayTest, NoRendererGivesBox51EveryTimeWithoutSearchingAgain) {
    choice_.warned = 1;
    std::wstring first, second;
    {
        ModalDriver driver({Press(IDOK, &first)});
        EXPECT_EQ(OpenDisplaySettings(nullptr, choice_), 0);
    }
    EXPECT_EQ(first, ResourceText(IDS_NO_RENDERER));
    ASSERT_NE(choice_.renderers, nullptr);
    AddRenderers();  // arriving later in the run: not searched for
    {
        ModalDriver driver({Press(IDOK, &second)});
        EXPECT_EQ(OpenDisplaySettings(nullptr, choice_), 0);
        EXPECT_EQ(driver.stepsTaken(), 1u);
    }
    EXPECT_EQ(second, first);
    EXPECT_TRUE(choice_.renderers->items.empty());
    EXPECT_EQ(choice_.result, 0);
}

TEST(DisplayFragmentOfState, EmptyWithoutAList) { EXPECT_EQ(DisplayChoice().Fragment(), ""); }

}  // namespace
}  // namespace velk
