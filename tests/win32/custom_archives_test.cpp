// The dialog "ADV_CUSTOM" made from the launcher's template and driven by
// messages, its folder scan and the archive list saved in the registry.
#include <gtest/gtest.h>

#include <algorithm>

#include "advanced/archive_list.h"
#include "advanced/custom_archives.h"
#include "base/dialog_services.h"
#include "launcher_driver.h"
#include "modal_driver.h"
#include "scratch_settings.h"
#include "ids_adv_custom.h"
#include "ids_strings.h"

namespace velk {
namespace {

using namespace velk::test;
using Names = std::vector<std::string>;

constexpr const char* kArchivesTop = "VelkCustomTest";
const std::string kArchivesKey = std::string(kArchivesTop) + "\\Brannock\\Velkarion\\1.0";

class CustomArchivesTest : public ::testing::Test {
protected:
    ScratchKey scratch_{kArchivesTop, HKEY_LOCAL_MACHINE};
    TempFolder game_;
    std::unique_ptr<ScopedCurrentFolder> inGame_;
    HWND dialog_ = nullptr;
    AdvancedChoice choice_;
    std::unique_ptr<SettingsStore> settings_;
    CustomArchivesData data_{choice_, nullptr};

    void SetUp() override {
        SetLauncherModule(GetModuleHandleA(nullptr));
        ASSERT_TRUE(UseScratchSettings(kArchivesTop, settings_));
        data_.settings = settings_.get();
        inGame_ = std::make_unique<ScopedCurrentFolder>(game_.path());
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
        inGame_.reset();
    }
    void AddArchives(const Names& names) {
        ASSERT_TRUE(MakeFolder(game_ / "Custom"));
        for (const std::string& name : names) ASSERT_TRUE(WriteFileText(game_ / ("Custom\\" + name), "rez"));
    }
    // A value of the given type (0: none) holding the number or the text.
    void Put(const char* name, DWORD type, DWORD number, const std::string& text) {
        if (type == REG_DWORD) {
            ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kArchivesKey, name, REG_DWORD, &number, 4));
        } else if (type == REG_SZ) {
            ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kArchivesKey, name, REG_SZ, text.c_str(), text.size() + 1));
        }
    }
    void SetSaved(DWORD save, const std::string& list) {
        Put("Save Rez Files", REG_DWORD, save, "");
        Put("Rez Files", REG_SZ, 0, list);
    }
    std::string SavedList() {
        char text[4096] = {};
        uint32_t size = sizeof(text);
        return settings_->ReadString("Rez Files", text, size, "<absent>");
    }
    int32_t SavedFlag() { return settings_->ReadDword("Save Rez Files", -1); }
    void LoadArchiveList() { LoadArchiveChoice(settings_.get(), &choice_.archives, &choice_.alwaysLoadArchives); }
    void Open() {
        if (dialog_) DestroyWindow(dialog_);
        dialog_ = CreateDialogParamA(LauncherModule(), "ADV_CUSTOM", nullptr, CustomArchivesDialogProc, (LPARAM)&data_);
        ASSERT_NE(dialog_, nullptr);
    }
    HWND Item(int id) { return GetDlgItem(dialog_, id); }
    void Command(int id, int code) { SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)Item(id)); }
    // The player clicks the item with this text.
    void Choose(int id, const std::string& text) {
        Names texts = ListBoxItems(Item(id));
        auto at = std::find(texts.begin(), texts.end(), text);
        ASSERT_NE(at, texts.end()) << text;
        SendMessageA(Item(id), LB_SETCURSEL, at - texts.begin(), 0);
        Command(id, LBN_SELCHANGE);
    }
    bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    LRESULT Selection(int id) { return SendMessageA(Item(id), LB_GETCURSEL, 0, 0); }
    Names Chosen() { return ListBoxItems(Item(IDC_CHOSEN_ARCHIVES)); }
};

TEST_F(CustomArchivesTest, TemplateLayoutAndStyles) {
    AddArchives({"a.rez"});
    Open();
    const struct {
        int id;
        const wchar_t* text;
        RECT units;  // x, y, width, height
        DWORD style;
    } controls[] = {
        {0, L"Avancerade alternativ - Anpassa", {0, 0, 292, 154}, 0},  // the dialog: its client area
        {IDC_AVAILABLE_ARCHIVES, L"", {7, 7, 115, 100}, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP},
        {IDC_ADD_ARCHIVE, L"Lägg till >", {127, 44, 38, 14}, BS_PUSHBUTTON},
        {IDC_REMOVE_ARCHIVE, L"< Ta bort", {127, 63, 38, 14}, BS_PUSHBUTTON},
        {IDC_CHOSEN_ARCHIVES, L"", {170, 7, 115, 100}, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP},
        {IDC_ALWAYS_LOAD_ARCHIVES, L"Ladda alltid dessa rez-filer", {97, 114, 97, 11}, BS_AUTOCHECKBOX},
        {IDOK, L"&OK", {93, 133, 50, 14}, BS_DEFPUSHBUTTON},
        {IDCANCEL, L"Avbryt", {149, 133, 50, 14}, BS_PUSHBUTTON},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND h = c.id ? Item(c.id) : dialog_;
        ASSERT_NE(h, nullptr);
        wchar_t text[64] = {};
        GetWindowTextW(h, text, 64);
        EXPECT_STREQ(text, c.text);
        RECT expected = c.units, actual;
        MapDialogRect(dialog_, &expected);
        if (c.id) {
            GetWindowRect(h, &actual);
            MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
        } else {
            GetClientRect(h, &actual);
        }
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);  // list boxes keep the exact height
        const DWORD style = GetWindowLongA(h, GWL_STYLE);
        if (c.id == IDC_AVAILABLE_ARCHIVES || c.id == IDC_CHOSEN_ARCHIVES) {
            EXPECT_EQ(style & c.style, c.style);
            EXPECT_EQ(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0u);
            // The dialog manager may turn the border into a sunken edge; the scroll bar shows on overflow.
            EXPECT_TRUE((style & WS_BORDER) || (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
            for (int i = 0; i < 30; ++i) SendMessageA(h, LB_ADDSTRING, 0, (LPARAM) "z.rez");
            EXPECT_NE(GetWindowLongA(h, GWL_STYLE) & WS_VSCROLL, 0);
        } else if (c.id) {
            EXPECT_EQ(style & BS_TYPEMASK, c.style);
        }
    }
    EXPECT_NE(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(CustomArchivesTest, ScanListsOnlyArchiveFilesAndComesBackToItsFolder) {
    const std::string longName = std::string(196, 'L') + ".rez";  // 200 characters
    const std::string swedish = AnsiFromUtf8("\xc3\xa5\xc3\xa4\xc3\xb6.rez");
    const struct {
        const char* name;
        Names files;  // a trailing "\" makes a folder
        Names expected;
    } cases[] = {
        {"no Custom", {}, {}},
        {"Custom is a file", {"Custom"}, {}},
        {"empty Custom", {"Custom\\"}, {}},
        {"nothing that ends in .rez",
         {"Custom\\", "Custom\\readme.txt", "Custom\\maps.rez\\", "Custom\\x.rezzz", "Custom\\y.rez.bak"}, {}},
        {"archives of every kind",
         {"Custom\\", "Custom\\a.rez", "Custom\\B.REZ", "Custom\\My Maps.rez", "Custom\\" + swedish, "Custom\\" + longName},
         {"a.rez", "B.REZ", "My Maps.rez", swedish, longName}},
        // "w:" names are UTF-8, made by their wide form. Their ANSI forms
        // ("a.rez", "mod.rez") would name a missing or another file.
        {"names outside the code page",
         {"Custom\\", "Custom\\mod.rez", "w:Custom\\\xc4\x81.rez", "w:Custom\\\xef\xbd\x8d\xef\xbd\x8f\xef\xbd\x84.rez"},
         {"mod.rez"}},
    };
    HWND box = CreateWindowA("LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder game;
        ScopedCurrentFolder inGame(game.path());
        for (const std::string& f : c.files) {
            if (f.back() == '\\') {
                ASSERT_TRUE(MakeFolder(game / f.substr(0, f.size() - 1)));
            } else if (f.rfind("w:", 0) == 0) {
                FileHandle file(CreateFileW(WideFromUtf8(game / f.substr(2)).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, 0, nullptr));
                ASSERT_TRUE(file);
            } else {
                ASSERT_TRUE(WriteFileText(game / f, "rez"));
            }
        }
        SendMessageA(box, LB_ADDSTRING, 0, (LPARAM) "left over");
        char before[MAX_PATH] = {}, after[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, before);
        EXPECT_EQ(ScanCustomFolder(box), static_cast<int>(c.expected.size()));
        GetCurrentDirectoryA(MAX_PATH, after);
        EXPECT_STREQ(after, before);
        Names found = ListBoxItems(box), expected = c.expected;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
    }
    DestroyWindow(box);
}

TEST_F(CustomArchivesTest, AddAndRemoveKeepTheListsAndButtonsRight) {
    AddArchives({"a.rez", "b.rez"});
    SetSaved(1, "A.REZ|gone.rez");
    Open();
    EXPECT_EQ(Chosen(), (Names{"A.REZ", "gone.rez"}));  // a remembered name whose file is gone still shows
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_ALWAYS_LOAD_ARCHIVES), BST_CHECKED);
    EXPECT_FALSE(Enabled(IDC_ADD_ARCHIVE));
    EXPECT_FALSE(Enabled(IDC_REMOVE_ARCHIVE));

    Choose(IDC_AVAILABLE_ARCHIVES, "a.rez");
    EXPECT_TRUE(Enabled(IDC_ADD_ARCHIVE));  // "A.REZ" is another name
    Command(IDC_ADD_ARCHIVE, BN_CLICKED);
    EXPECT_FALSE(Enabled(IDC_ADD_ARCHIVE));
    EXPECT_TRUE(AddChosen(Item(IDC_AVAILABLE_ARCHIVES), Item(IDC_CHOSEN_ARCHIVES)));  // no second copy
    Choose(IDC_AVAILABLE_ARCHIVES, "b.rez");
    Command(IDC_AVAILABLE_ARCHIVES, LBN_DBLCLK);
    EXPECT_EQ(Chosen(), (Names{"A.REZ", "gone.rez", "a.rez", "b.rez"}));

    Choose(IDC_CHOSEN_ARCHIVES, "b.rez");
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    EXPECT_EQ(Selection(IDC_CHOSEN_ARCHIVES), 2);  // the new last item
    Choose(IDC_CHOSEN_ARCHIVES, "A.REZ");
    Command(IDC_CHOSEN_ARCHIVES, LBN_DBLCLK);
    EXPECT_EQ(Chosen(), (Names{"gone.rez", "a.rez"}));
    EXPECT_EQ(Selection(IDC_CHOSEN_ARCHIVES), 0);  // the item now at the same place
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    EXPECT_EQ(Chosen(), Names{});
    EXPECT_EQ(Selection(IDC_CHOSEN_ARCHIVES), LB_ERR);
    EXPECT_FALSE(Enabled(IDC_REMOVE_ARCHIVE));
    EXPECT_FALSE(RemoveChosen(Item(IDC_AVAILABLE_ARCHIVES), Item(IDC_CHOSEN_ARCHIVES)));
    EXPECT_TRUE(Enabled(IDC_ADD_ARCHIVE));  // "b.rez" is selected and no longer chosen
}

TEST_F(CustomArchivesTest, OkSavesOnlyWhenTickedAndCancelKeepsTheRegistry) {
    AddArchives({"a.rez", "b.rez"});
    SetSaved(0, "old.rez");
    Open();
    EXPECT_EQ(Chosen(), Names{});
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_ALWAYS_LOAD_ARCHIVES), BST_UNCHECKED);
    for (const char* name : {"b.rez", "a.rez"}) {
        Choose(IDC_AVAILABLE_ARCHIVES, name);
        Command(IDC_ADD_ARCHIVE, BN_CLICKED);
    }
    Command(IDOK, BN_CLICKED);
    EXPECT_EQ(BuildArchiveFragment(choice_.archives), " -rez custom\\b.rez -rez custom\\a.rez");  // for this run
    EXPECT_EQ(SavedFlag(), 0);
    EXPECT_EQ(SavedList(), "old.rez");

    // Reopened, the dialog shows this run's choice although the settings hold
    // none, and Cancel leaves it to "Starta".
    Open();
    EXPECT_EQ(Chosen(), (Names{"b.rez", "a.rez"}));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_ALWAYS_LOAD_ARCHIVES), BST_UNCHECKED);
    Choose(IDC_CHOSEN_ARCHIVES, "a.rez");
    Command(IDC_REMOVE_ARCHIVE, BN_CLICKED);
    Command(IDCANCEL, BN_CLICKED);
    EXPECT_EQ(BuildArchiveFragment(choice_.archives), " -rez custom\\b.rez -rez custom\\a.rez");
    EXPECT_EQ(SavedList(), "old.rez");
}

TEST_F(CustomArchivesTest, LongChoiceSavesWholeNamesWithinWhatReadsBack) {
    AddArchives({"a.rez"});
    Open();
    Names names;
    for (char c = 'a'; c < 'a' + 9; ++c) {
        names.push_back(std::string(246, c) + ".rez");  // 250 characters
        SendMessageA(Item(IDC_CHOSEN_ARCHIVES), LB_ADDSTRING, 0, (LPARAM)names.back().c_str());
    }
    CheckDlgButton(dialog_, IDC_ALWAYS_LOAD_ARCHIVES, BST_CHECKED);
    {
        // The player is told that the next run will have fewer.
        ModalDriver player({[this](HWND box) {
            EXPECT_EQ(MessageBoxTextW(box), ResourceText(IDS_ARCHIVE_LIST_CUT));
            EXPECT_EQ(GetWindow(box, GW_OWNER), dialog_);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }});
        Command(IDOK, BN_CLICKED);
        EXPECT_EQ(player.stepsTaken(), 1u);
    }
    EXPECT_EQ(choice_.archives, names);  // all of them count for this run
    const Names saved(names.begin(), names.begin() + 8);
    EXPECT_EQ(SavedList().size(), 8u * 250 + 7);
    LoadArchiveList();
    EXPECT_EQ(choice_.archives, saved);
}

TEST_F(CustomArchivesTest, SavedListRules) {
    Names longest(7, std::string(251, 'n') + ".rez");  // eight names and seven bars: 2045 characters
    longest.push_back(std::string(249, 'm') + ".rez");
    const std::string fits = JoinArchiveList(longest);
    ASSERT_EQ(fits.size(), kMaxSavedArchiveList);
    const struct {
        const char* name;
        DWORD flagType;  // 0: absent
        DWORD flag;
        DWORD listType;
        std::string list;
        int32_t expectedFlag;
        Names expected;
    } cases[] = {
        {"nothing stored", 0, 0, REG_SZ, "a.rez", 0, {}},
        {"flag clear", REG_DWORD, 0, REG_SZ, "a.rez", 0, {}},
        {"any nonzero flag counts", REG_DWORD, 7, REG_SZ, "a.rez||b.rez|", 1, {"a.rez", "b.rez"}},
        {"flag set, no list", REG_DWORD, 1, 0, "", 1, {}},
        {"2045 characters read back", REG_DWORD, 1, REG_SZ, fits, 1, longest},
        {"2046 characters read as absent", REG_DWORD, 1, REG_SZ, fits + "x", 1, {}},
        {"list of the wrong type", REG_DWORD, 1, REG_DWORD, "", 1, {}},
        {"flag of the wrong type", REG_SZ, 1, REG_SZ, "a.rez", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kArchivesKey.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        RegDeleteValueA(key, "Save Rez Files");
        RegDeleteValueA(key, "Rez Files");
        RegCloseKey(key);
        Put("Save Rez Files", c.flagType, c.flag, "1");
        Put("Rez Files", c.listType, 1, c.list);
        choice_.archives = {"stale.rez"};
        choice_.alwaysLoadArchives = 5;
        LoadArchiveList();
        EXPECT_EQ(choice_.alwaysLoadArchives, c.expectedFlag);
        EXPECT_EQ(choice_.archives, c.expected);
    }
}

}  // namespace
}  // namespace velk
