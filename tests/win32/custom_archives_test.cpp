// The dialog "ADV_CUSTOM" made from the launcher's template and driven by
// messages, its folder scan and the saved archive list in the registry.
#include <gtest/gtest.h>

#include <algorithm>

#include "advanced/archive_list.h"
#include "advanced/custom_archives.h"
#include "launcher/launcher_state.h"
#include "launcher/registry_store.h"
#include "launcher_driver.h"
#include "test_support.h"
#include "ids_adv_custom.h"
#include "ids_strings.h"

namespace velk {
namespace {

using namespace velk::test;
using Names = std::vector<std::string>;

constexpr const char* kTop = "VelkCustomTest";
const std::string kKey = std::string(kTop) + "\\Brannock\\Velkarion\\1.0";

std::wstring WideText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

Names BoxTexts(HWND box) {
    Names texts;
    LRESULT count = SendMessageA(box, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[512] = {};
        if (SendMessageA(box, LB_GETTEXTLEN, i, 0) < 512) SendMessageA(box, LB_GETTEXT, i, (LPARAM)text);
        texts.push_back(text);
    }
    return texts;
}

Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Closes the first message box of this thread while a modal call runs, keeping its texts.
class MessageBoxAnswer {
public:
    MessageBoxAnswer() : timer_(SetTimer(nullptr, 0, 30, Tick)) { current_ = this; }
    ~MessageBoxAnswer() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    std::wstring text, caption;

private:
    static BOOL CALLBACK Find(HWND window, LPARAM found) {
        if (IsWindowVisible(window) && GetDlgItem(window, 0xFFFF)) *reinterpret_cast<HWND*>(found) = window;
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&box));
        if (!box || !current_ || !current_->caption.empty()) return;
        current_->text = WideText(GetDlgItem(box, 0xFFFF));
        current_->caption = WideText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    static inline MessageBoxAnswer* current_ = nullptr;
    UINT_PTR timer_;
};

class CustomArchivesTest : public ::testing::Test {
protected:
    ScratchKey scratch_{kTop, HKEY_LOCAL_MACHINE};
    TempFolder game_;
    std::unique_ptr<ScopedCurrentFolder> inGame_;
    HWND dialog_ = nullptr;

    void SetUp() override {
        ResetState();
        State().instance = GetModuleHandleA(nullptr);
        State().gameTitle = "Velkarion";
        auto store = std::make_unique<RegistryStore>();
        ASSERT_TRUE(store->Open("Brannock", "Velkarion", "1.0", nullptr, HKEY_LOCAL_MACHINE, kTop));
        State().settings = std::move(store);
        inGame_ = std::make_unique<ScopedCurrentFolder>(game_.path());
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
        inGame_.reset();
        ResetState();
    }
    void AddArchives(const Names& names) {
        ASSERT_TRUE(MakeFolder(game_ / "Custom"));
        for (const std::string& name : names) ASSERT_TRUE(WriteFileText(game_ / ("Custom\\" + name), "rez"));
    }
    void SetSaved(DWORD save, const char* list) {
        ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kKey, "Save Rez Files", REG_DWORD, &save, sizeof(save)));
        if (list) { ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kKey, "Rez Files", REG_SZ, list, strlen(list) + 1)); }
    }
    bool Stored(const char* name, std::string* text) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!QueryValue(HKEY_LOCAL_MACHINE, kKey, name, &type, &data)) return false;
        if (type == REG_DWORD && data.size() == 4) {
            *text = std::to_string(*reinterpret_cast<DWORD*>(data.data()));
        } else {
            *text = std::string(data.begin(), data.end());
            if (!text->empty() && text->back() == '\0') text->pop_back();
        }
        return true;
    }
    std::string StoredOr(const char* name) {
        std::string text;
        return Stored(name, &text) ? text : "<absent>";
    }
    void Open() {
        dialog_ = CreateDialogParamA(State().instance, "ADV_CUSTOM", nullptr, CustomArchivesDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
    }
    HWND Item(int id) { return GetDlgItem(dialog_, id); }
    void Command(int id, int code) {
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
    // The player clicks an item of a list (-1: clears the selection).
    void Choose(int id, int index) {
        SendMessageA(Item(id), LB_SETCURSEL, index, 0);
        Command(id, LBN_SELCHANGE);
    }
    void ChooseText(int id, const std::string& text) {
        Names texts = BoxTexts(Item(id));
        auto at = std::find(texts.begin(), texts.end(), text);
        ASSERT_NE(at, texts.end()) << text;
        Choose(id, static_cast<int>(at - texts.begin()));
    }
    bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    int Selection(int id) { return static_cast<int>(SendMessageA(Item(id), LB_GETCURSEL, 0, 0)); }
    Names Chosen() { return BoxTexts(Item(IDC_CHOSEN_ARCHIVES)); }
};

TEST_F(CustomArchivesTest, TemplateLayoutAndListStyles) {
    AddArchives({"a.rez"});
    Open();
    EXPECT_EQ(WideText(dialog_), L"Avancerade alternativ - Anpassa");
    RECT client;
    GetClientRect(dialog_, &client);
    RECT size = {0, 0, 292, 154};
    MapDialogRect(dialog_, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    struct Control {
        int id;
        const wchar_t* text;
        RECT units;  // x, y, width, height
    } const controls[] = {
        {IDC_AVAILABLE_ARCHIVES, L"", {7, 7, 115, 100}},     {IDC_ADD_ARCHIVE, L"Lägg till >", {127, 44, 38, 14}},
        {IDC_REMOVE_ARCHIVE, L"< Ta bort", {127, 63, 38, 14}}, {IDC_CHOSEN_ARCHIVES, L"", {170, 7, 115, 100}},
        {IDC_ALWAYS_LOAD_ARCHIVES, L"Ladda alltid dessa rez-filer", {97, 114, 97, 11}},
        {IDOK, L"&OK", {93, 133, 50, 14}},                    {IDCANCEL, L"Avbryt", {149, 133, 50, 14}},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.id);
        HWND h = Item(c.id);
        ASSERT_NE(h, nullptr);
        if (*c.text) { EXPECT_EQ(WideText(h), c.text); }
        RECT expected = c.units;
        MapDialogRect(dialog_, &expected);
        RECT actual;
        GetWindowRect(h, &actual);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);  // no integral height
    }
    for (int id : {IDC_AVAILABLE_ARCHIVES, IDC_CHOSEN_ARCHIVES}) {
        LONG style = GetWindowLongA(Item(id), GWL_STYLE);
        EXPECT_EQ(style & (LBS_NOTIFY | WS_TABSTOP | LBS_NOINTEGRALHEIGHT), LBS_NOTIFY | WS_TABSTOP | LBS_NOINTEGRALHEIGHT);
        EXPECT_EQ(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);
        // The dialog manager may turn the border into a sunken edge; the scroll bar shows once items overflow.
        EXPECT_TRUE((style & WS_BORDER) || (GetWindowLongA(Item(id), GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        for (int i = 0; i < 30; ++i) SendMessageA(Item(id), LB_ADDSTRING, 0, (LPARAM) "z.rez");
        EXPECT_NE(GetWindowLongA(Item(id), GWL_STYLE) & WS_VSCROLL, 0);
    }
    EXPECT_EQ(GetWindowLongA(Item(IDC_ALWAYS_LOAD_ARCHIVES), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(GetWindowLongA(Item(IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_NE(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(CustomArchivesTest, ScanListsOnlyArchiveFilesAndComesBackToItsFolder) {
    const std::string longName = std::string(196, 'L') + ".rez";  // 200 characters
    const std::string swedish = AnsiFromUtf8("\xc3\xa5\xc3\xa4\xc3\xb6.rez");
    ASSERT_EQ(swedish.size(), 7u);
    struct Case {
        const char* name;
        bool customIsFolder;
        Names files;  // a trailing "\" makes a folder
        Names expected;
    } const cases[] = {
        {"no Custom", false, {}, {}},
        {"Custom is a file", false, {"Custom"}, {}},
        {"empty Custom", true, {}, {}},
        {"no archive in it", true, {"readme.txt", "maps.rez\\", "x.rezzz", "y.rez.bak"}, {}},
        {"archives of every kind",
         true,
         {"a.rez", "B.REZ", "My Maps.rez", swedish, longName, "maps.rez\\", "x.rezzz"},
         {"B.REZ", "My Maps.rez", "a.rez", longName, swedish}},
    };
    HWND box = CreateWindowA("LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder game;
        ScopedCurrentFolder inGame(game.path());
        std::string custom = c.customIsFolder ? "Custom\\" : "";
        if (c.customIsFolder) { ASSERT_TRUE(MakeFolder(game / "Custom")); }
        for (const std::string& f : c.files) {
            if (f.back() == '\\')
                ASSERT_TRUE(MakeFolder(game / (custom + f.substr(0, f.size() - 1))));
            else
                ASSERT_TRUE(WriteFileText(game / (custom + f), "rez"));
        }
        SendMessageA(box, LB_ADDSTRING, 0, (LPARAM) "left over");
        char before[MAX_PATH] = {}, after[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, before);
        EXPECT_EQ(ScanCustomFolder(box), static_cast<int>(c.expected.size()));
        GetCurrentDirectoryA(MAX_PATH, after);
        EXPECT_STREQ(after, before);
        EXPECT_EQ(Sorted(BoxTexts(box)), Sorted(c.expected));
    }
    DestroyWindow(box);
}

TEST_F(CustomArchivesTest, ChoosingAddsRemovesAndKeepsTheButtonsRight) {
    AddArchives({"a.rez", "b.rez", "c.rez"});
    SetSaved(1, "A.REZ|gone.rez");
    Open();
    EXPECT_EQ(Chosen(), (Names{"A.REZ", "gone.rez"}));  // a remembered name whose file is gone still shows
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_ALWAYS_LOAD_ARCHIVES), BST_CHECKED);
    EXPECT_FALSE(Enabled(IDC_ADD_ARCHIVE));
    EXPECT_FALSE(Enabled(IDC_REMOVE_ARCHIVE));

    ChooseText(IDC_AVAILABLE_ARCHIVES, "a.rez");
    EXPECT_TRUE(Enabled(IDC_ADD_ARCHIVE));  // "A.REZ" is another name
    Command(IDC_ADD_ARCHIVE, BN_CLICKED);
    EXPECT_EQ(Chosen(), (Names{"A.REZ", "gone.rez", "a.rez"}));
    EXPECT_FALSE(Enabled(IDC_ADD_ARCHIVE));
    EXPECT_TRUE(AddChosen(Item(IDC_AVAILABLE_ARCHIVES), Item(IDC_CHOSEN_ARCHIVES)));
    EXPECT_EQ(Chosen().size(), 3u);

    ChooseText(IDC_AVAILABLE_ARCHIVES, "b.rez");
    Command(IDC_AVAILABLE_ARCHIVES, LBN_DBLCLK);
    EXPECT_EQ(Chosen(), (Names{"A.REZ", "gone.rez", "a.rez", "b.rez"}));

    Choose(IDC_CHOSEN_ARCHIVES, 3);
    EXPECT_TRUE(Enabled(IDC_REMOVE_ARCHIVE));
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    EXPECT_EQ(Chosen(), (Names{"A.REZ", "gone.rez", "a.rez"}));
    EXPECT_EQ(Selection(IDC_CHOSEN_ARCHIVES), 2);  // the new last item
    Choose(IDC_CHOSEN_ARCHIVES, 0);
    Command(IDC_CHOSEN_ARCHIVES, LBN_DBLCLK);
    EXPECT_EQ(Chosen(), (Names{"gone.rez", "a.rez"}));
    EXPECT_EQ(Selection(IDC_CHOSEN_ARCHIVES), 0);  // the item now at the same place
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    EXPECT_EQ(Chosen(), Names{});
    EXPECT_EQ(Selection(IDC_CHOSEN_ARCHIVES), LB_ERR);
    EXPECT_FALSE(Enabled(IDC_REMOVE_ARCHIVE));
    EXPECT_FALSE(RemoveChosen(Item(IDC_AVAILABLE_ARCHIVES), Item(IDC_CHOSEN_ARCHIVES)));
    EXPECT_TRUE(Enabled(IDC_ADD_ARCHIVE));  // "b.rez" is still selected and no longer chosen
}

TEST_F(CustomArchivesTest, OkTakesTheListAndSavesItOnlyWhenTicked) {
    AddArchives({"a.rez", "b.rez"});
    SetSaved(0, "old.rez");
    Open();
    EXPECT_EQ(Chosen(), Names{});
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_ALWAYS_LOAD_ARCHIVES), BST_UNCHECKED);
    for (const char* name : {"b.rez", "a.rez"}) {
        ChooseText(IDC_AVAILABLE_ARCHIVES, name);
        Command(IDC_ADD_ARCHIVE, BN_CLICKED);
    }
    Command(IDOK, BN_CLICKED);
    EXPECT_EQ(State().customArchives, (Names{"b.rez", "a.rez"}));
    EXPECT_EQ(BuildArchiveFragment(), " -rez custom\\b.rez -rez custom\\a.rez");
    EXPECT_EQ(StoredOr("Save Rez Files"), "0");
    EXPECT_EQ(StoredOr("Rez Files"), "old.rez");
    DestroyWindow(dialog_);

    Open();  // the flag is clear: the reload empties this run's choice
    EXPECT_EQ(Chosen(), Names{});
    EXPECT_EQ(State().customArchives, Names{});
    ChooseText(IDC_AVAILABLE_ARCHIVES, "a.rez");
    Command(IDC_ADD_ARCHIVE, BN_CLICKED);
    CheckDlgButton(dialog_, IDC_ALWAYS_LOAD_ARCHIVES, BST_CHECKED);
    Command(IDOK, BN_CLICKED);
    EXPECT_EQ(StoredOr("Save Rez Files"), "1");
    EXPECT_EQ(StoredOr("Rez Files"), "a.rez");
    DestroyWindow(dialog_);

    Open();
    EXPECT_EQ(Chosen(), Names{"a.rez"});
    Choose(IDC_CHOSEN_ARCHIVES, 0);
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    Command(IDCANCEL, BN_CLICKED);
    EXPECT_EQ(State().customArchives, Names{"a.rez"});
    EXPECT_EQ(StoredOr("Rez Files"), "a.rez");
}

TEST_F(CustomArchivesTest, LongChoiceStoresWholeNamesWithinWhatReadsBack) {
    AddArchives({"a.rez"});
    Open();
    Names names;
    for (char c = 'a'; c < 'a' + 9; ++c) {
        names.push_back(std::string(246, c) + ".rez");  // 250 characters
        SendMessageA(Item(IDC_CHOSEN_ARCHIVES), LB_ADDSTRING, 0, (LPARAM)names.back().c_str());
    }
    CheckDlgButton(dialog_, IDC_ALWAYS_LOAD_ARCHIVES, BST_CHECKED);
    Command(IDOK, BN_CLICKED);
    EXPECT_EQ(State().customArchives, names);  // all of them count for this run
    const Names saved(names.begin(), names.begin() + 8);
    EXPECT_EQ(StoredOr("Rez Files"), JoinArchiveList(saved));
    EXPECT_EQ(StoredOr("Rez Files").size(), 8u * 250 + 7);
    LoadArchiveList();
    EXPECT_EQ(State().customArchives, saved);
}

TEST_F(CustomArchivesTest, SavedListRules) {
    Names longest(7, std::string(251, 'n') + ".rez");  // eight names and seven bars: 2045 characters
    longest.push_back(std::string(249, 'm') + ".rez");
    const std::string fits = JoinArchiveList(longest);
    ASSERT_EQ(fits.size(), kMaxSavedArchiveList);
    const DWORD number = 1;
    struct Case {
        const char* name;
        const char* save;  // nullptr: absent; "sz": stored as text
        const char* list;  // nullptr: absent; "dword": stored as a number
        int32_t expectedFlag;
        Names expected;
    };
    const std::string tooLong = fits + "x";
    const Case cases[] = {
        {"nothing stored", nullptr, "a.rez", 0, {}},
        {"flag clear", "0", "a.rez", 0, {}},
        {"any nonzero flag counts", "7", "a.rez||b.rez|", 1, {"a.rez", "b.rez"}},
        {"flag set, no list", "1", nullptr, 1, {}},
        {"flag set, empty list", "1", "", 1, {}},
        {"2045 characters read back", "1", fits.c_str(), 1, longest},
        {"2046 characters read as absent", "1", tooLong.c_str(), 1, {}},
        {"list of the wrong type", "1", "dword", 1, {}},
        {"flag of the wrong type", "sz", "a.rez", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        RegDeleteValueA(key, "Save Rez Files");
        RegDeleteValueA(key, "Rez Files");
        RegCloseKey(key);
        if (c.save && strcmp(c.save, "sz") == 0) {
            ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kKey, "Save Rez Files", REG_SZ, "1", 2));
        } else if (c.save) {
            DWORD flag = static_cast<DWORD>(atoi(c.save));
            ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kKey, "Save Rez Files", REG_DWORD, &flag, 4));
        }
        if (c.list && strcmp(c.list, "dword") == 0) {
            ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kKey, "Rez Files", REG_DWORD, &number, 4));
        } else if (c.list) {
            ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kKey, "Rez Files", REG_SZ, c.list, strlen(c.list) + 1));
        }
        State().customArchives = {"stale.rez"};
        State().alwaysLoadArchives = 5;
        LoadArchiveList();
        EXPECT_EQ(State().alwaysLoadArchives, c.expectedFlag);
        EXPECT_EQ(State().customArchives, c.expected);
    }
}

TEST_F(CustomArchivesTest, NothingToChooseShowsTheNoticeAndEndsWithZero) {
    for (bool customIsFile : {false, true}) {
        SCOPED_TRACE(customIsFile);
        if (customIsFile) { ASSERT_TRUE(WriteFileText(game_ / "Custom", "not a folder")); }
        SetSaved(1, "kept.rez");
        State().customArchives.clear();
        MessageBoxAnswer answer;
        EXPECT_EQ(OpenCustomArchives(nullptr), 0);
        wchar_t notice[512] = {};
        LoadStringW(GetModuleHandleA(nullptr), IDS_NO_CUSTOM_ARCHIVES, notice, 512);
        EXPECT_EQ(answer.text, notice);
        EXPECT_EQ(answer.caption, L"Velkarion");
        EXPECT_EQ(State().customArchives, Names{"kept.rez"});  // reloaded all the same
    }
}

}  // namespace
}  // namespace velk
