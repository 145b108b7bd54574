// The 3D sound detection on the real registry, with the stand-in sound
// library in a game folder of the test's own, and the dialog "3DSOUND".
#include <gtest/gtest.h>

#include <clocale>

#include "base/dialog_services.h"
#include "launcher_driver.h"
#include "modal_driver.h"
#include "scratch_settings.h"
#include "sound/sound_detection.h"
#include "sound/sound_win32.h"
#include "test_support.h"
#include "ids_sound.h"
#include "ids_strings.h"

namespace velk {
namespace {

using namespace velk::test;

constexpr const char* kSoundTop = "VelkSoundTest";
constexpr const char* kSoundKey = "VelkSoundTest\\Brannock\\Velkarion\\1.0";

std::string BuildFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of('\\'));         // tests
    return folder.substr(0, folder.find_last_of('\\')) + "\\";  // the build folder
}

// The reverb choices that are set, by id.
std::vector<int> CheckedReverbs(HWND dialog) {
    std::vector<int> ids;
    for (int id = IDC_REVERB_FIRST; id <= IDC_REVERB_LAST; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) ids.push_back(id);
    return ids;
}

class SoundDetectionTest : public ::testing::Test {
protected:
    ScratchKey scratch_{kSoundTop, HKEY_LOCAL_MACHINE};
    TempFolder game_;
    std::unique_ptr<ScopedCurrentFolder> inGame_;
    HWND owner_ = nullptr;
    SoundSetup sound_;
    std::unique_ptr<SettingsStore> settings_;

    void SetUp() override {
        SetLauncherModule(GetModuleHandleA(nullptr));
        SetGameTitle("Velkarion");
        ASSERT_TRUE(UseScratchSettings(kSoundTop, settings_));
        inGame_ = std::make_unique<ScopedCurrentFolder>(game_.path());
        owner_ = CreateWindowExA(0, "STATIC", "ADVANCED", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                                 nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        inGame_.reset();
    }
    int RunSoundDetection(HINSTANCE instance, bool reportMissing) {
        return velk::RunSoundDetection(instance, owner_, reportMissing, sound_, settings_.get());
    }
    void InstallLibrary(const std::string& setup, const char* module = "standins\\mss32\\mss32.dll") {
        // A library that broke down stays loaded, its file in use; the stand-in reads its setup at each start-up.
        if (!GetModuleHandleA("mss32.dll")) {
            ASSERT_TRUE(CopyFileA((BuildFolder() + module).c_str(), (game_ / "mss32.dll").c_str(), FALSE));
        }
        ASSERT_TRUE(WriteFileText(game_ / "mss32_standin.txt", setup));
    }
    std::string LibraryLog() {
        std::string log;
        return ReadFileText(game_ / "mss32_standin.log", &log) ? log : "";
    }
    DWORD StoredNumber(const char* name) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!QueryValue(HKEY_LOCAL_MACHINE, kSoundKey, name, &type, &data) || type != REG_DWORD) return 0xDEADBEEF;
        return *reinterpret_cast<DWORD*>(data.data());
    }
    ModalDriver::Step ExpectBox(UINT stringId, int press) {
        return [this, stringId, press](HWND box) {
            EXPECT_EQ(MessageBoxTextW(box), ResourceText(stringId));
            EXPECT_EQ(GetWindow(box, GW_OWNER), owner_);
            PostMessageA(box, WM_COMMAND, press, 0);
        };
    }
};

TEST_F(SoundDetectionTest, RefusedWarningTouchesNothingAndComesAgain) {
    InstallLibrary("provider First\n");
    for (int attempt = 0; attempt < 2; ++attempt) {
        ModalDriver driver({ExpectBox(IDS_SOUND_ENUM_WARNING, IDCANCEL)});
        EXPECT_EQ(RunSoundDetection(LauncherModule(), true), 0);
        EXPECT_EQ(driver.stepsTaken(), 1u);
    }
    EXPECT_EQ(StoredNumber("Sound Enum Warning"), 0xDEADBEEF);  // never written
    EXPECT_EQ(LibraryLog(), "");
    EXPECT_EQ(RunSoundDetection(nullptr, true), 0);  // no module instance: nothing at all
}

TEST_F(SoundDetectionTest, NoProviderToOfferGivesBox65WhenAsked) {
    struct Case {
        const char* what;
        const char* module;  // null: no library at all
        const char* setup;
        bool brokeDown = false;  // then it stays loaded, and no shut-down call follows the fault
    } const cases[] = {
        {"no library", nullptr, ""},
        {"a module without the operations", "standins\\renderers\\standin_demo_hw.ren", ""},
        {"wave mapper fails", "standins\\mss32\\mss32.dll", "provider First\nwavemapper fails\n"},
        {"no providers", "standins\\mss32\\mss32.dll", ""},
        {"none opens", "standins\\mss32\\mss32.dll", "provider First\ncannot-open\n"},
        // A library that faults is left, and the launcher goes on.
        {"fault at start-up", "standins\\mss32\\mss32.dll", "provider First\nfault AIL_startup\n", true},
        {"fault while listing", "standins\\mss32\\mss32.dll", "provider First\nfault AIL_enumerate_3D_providers\n", true},
        {"fault on opening", "standins\\mss32\\mss32.dll", "provider First\nfault AIL_open_3D_provider\n", true},
        {"fault at shut-down", "standins\\mss32\\mss32.dll", "provider First\nfault AIL_shutdown\n", true},
    };
    settings_->WriteDword("Sound Enum Warning", 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA((game_ / "mss32.dll").c_str());
        DeleteFileA((game_ / "mss32_standin.log").c_str());
        if (c.module) InstallLibrary(c.setup, c.module);
        {
            ModalDriver driver({ExpectBox(IDS_NO_SOUND_PROVIDER, IDOK)});
            EXPECT_EQ(RunSoundDetection(LauncherModule(), true), 0);
            EXPECT_EQ(driver.stepsTaken(), 1u);
        }
        {
            ModalDriver silent({});
            EXPECT_EQ(RunSoundDetection(LauncherModule(), false), 0);
        }
        EXPECT_TRUE(sound_.providers.empty());
        EXPECT_EQ(GetModuleHandleA("mss32.dll") != nullptr, c.brokeDown);
        if (c.brokeDown) {
            EXPECT_EQ(LibraryLog().find("AIL_shutdown"), std::string::npos);
        }
    }
}

TEST_F(SoundDetectionTest, OperationsAreFoundUnderDecoratedOrPlainNames) {
    struct Case {
        const char* what;
        const char* module;
        size_t listed;  // 0: box 65, and the library is never called
    } const cases[] = {
        {"decorated names only", "standins\\mss32\\mss32.dll", 3},
        {"plain names only", "standins\\mss32\\plain\\mss32.dll", 3},
        {"one operation missing", "standins\\mss32\\partial\\mss32.dll", 0},
    };
    settings_->WriteDword("Sound Enum Warning", 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sound_.providers.clear();
        DeleteFileA((game_ / "mss32_standin.log").c_str());
        InstallLibrary("provider First\nprovider Second\n", c.module);
        size_t listed = 0;
        ModalDriver::Step listStep = [&](HWND dialog) {
            listed = ListBoxTexts(GetDlgItem(dialog, IDC_SOUND_PROVIDER_LIST)).size();
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        };
        ModalDriver driver({c.listed ? listStep : ExpectBox(IDS_NO_SOUND_PROVIDER, IDOK)});
        EXPECT_EQ(RunSoundDetection(LauncherModule(), true), 0);
        EXPECT_EQ(driver.stepsTaken(), 1u);
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(LibraryLog().empty(), c.listed == 0);
    }
}

TEST_F(SoundDetectionTest, EndlessLibraryIsFollowedFor256Providers) {
    InstallLibrary("forever\n");
    settings_->WriteDword("Sound Enum Warning", 1);
    size_t listed = 0;
    {
        ModalDriver driver({[&](HWND dialog) {
            listed = ListBoxTexts(GetDlgItem(dialog, IDC_SOUND_PROVIDER_LIST)).size();
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }});
        EXPECT_EQ(RunSoundDetection(LauncherModule(), true), 0);
    }
    EXPECT_EQ(listed, 257u);
    EXPECT_NE(LibraryLog().find("AIL_waveOutClose 1488\nAIL_shutdown\n"), std::string::npos);
}

TEST_F(SoundDetectionTest, StoredValuesOfTheWrongKindLeaveTheFields) {
    const std::string tooLong(261, 'n');
    const DWORD eight = 8;
    SetValue(HKEY_LOCAL_MACHINE, kSoundKey, "Sound Provider Name", REG_SZ, tooLong.c_str(), 262);
    SetValue(HKEY_LOCAL_MACHINE, kSoundKey, "Sound 3D Samples", REG_SZ, "20", 3);
    SetValue(HKEY_LOCAL_MACHINE, kSoundKey, "Sound 2D Samples", REG_DWORD, &eight, 4);
    SoundChoice& choice = sound_.choice;
    choice.providerName = "Kept";
    LoadSoundChoice(*settings_, choice);
    EXPECT_EQ(choice.providerName, "Kept");
    EXPECT_EQ(choice.samples3D, 16u);
    EXPECT_EQ(choice.samples2D, 8u);

    SetValue(HKEY_LOCAL_MACHINE, kSoundKey, "Sound Provider Name", REG_DWORD, &eight, 4);
    LoadSoundChoice(*settings_, choice);
    EXPECT_EQ(choice.providerName, "Kept");
    const std::string longest(260, 'n');
    SetValue(HKEY_LOCAL_MACHINE, kSoundKey, "Sound Provider Name", REG_SZ, longest.c_str(), 261);
    LoadSoundChoice(*settings_, choice);
    EXPECT_EQ(choice.providerName, longest);
}

// The dialog on its own, over a list and choice of the test's own.
class SoundDialogTest : public ::testing::Test {
protected:
    SoundProviderList providers_;
    SoundChoice choice_;
    SoundDialogData data_;
    HWND dialog_ = nullptr;

    void SetUp() override {
        SetLauncherModule(GetModuleHandleA(nullptr));
        // In list order.
        providers_.push_front({3, 1, AnsiFromUtf8("HÅRDVARA å"), 0});
        providers_.push_front({2, 7, "Other", 0});
        providers_.push_front({1, 1, AnsiFromUtf8("Hårdvara Å"), 1});
        data_.providers = &providers_;
        data_.choice = &choice_;
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
    }
    void Open() {
        if (dialog_) DestroyWindow(dialog_);
        dialog_ = CreateDialogParamA(LauncherModule(), "3DSOUND", nullptr, SoundDialogProc, (LPARAM)&data_);
        ASSERT_NE(dialog_, nullptr);
    }
    HWND List() { return GetDlgItem(dialog_, IDC_SOUND_PROVIDER_LIST); }
};

TEST_F(SoundDialogTest, StartsFromTheStoredChoice) {
    struct Case {
        std::string stored;
        int32_t reverb;
        int selected;
        std::vector<int> reverbs;
    } const cases[] = {
        {"", 100, 0, {IDC_REVERB_100}},
        {"OTHER", 0, 2, {IDC_REVERB_0}},
        {AnsiFromUtf8("hårdvara å"), 150, 3, {IDC_REVERB_150}},  // the later match wins
        {"Inget 3D-ljud", 45, 0, {}},
    };
    for (const Case& c : cases) {
        choice_.providerName = c.stored;
        choice_.reverb = c.reverb;
        Open();
        EXPECT_EQ(ListBoxTexts(List()).size(), 4u);
        EXPECT_EQ(SendMessageA(List(), LB_GETCURSEL, 0, 0), c.selected) << c.stored;
        EXPECT_EQ(CheckedReverbs(dialog_), c.reverbs) << c.reverb;
    }
    std::vector<LRESULT> kinds;
    for (int i = 0; i < 4; ++i) kinds.push_back(SendMessageA(List(), LB_GETITEMDATA, i, 0));
    EXPECT_EQ(kinds, (std::vector<LRESULT>{0, 1, 7, 1}));
}

TEST_F(SoundDialogTest, OkReadsTheChoiceBack) {
    struct Case {
        int select;
        const char* voices3D;
        const char* voices2D;
        int clickReverb;  // 0: none
        SoundChoice expected;
    } const cases[] = {
        {2, "abc", "12345678901234567890", 0, {7, "Other", 0, 0, 45}},
        {0, "-4", " 64 ", IDC_REVERB_30, {0, "Inget 3D-ljud", 0, 64, 30}},
    };
    for (const Case& c : cases) {
        choice_ = SoundChoice{5, "before", 16, 32, 45};
        Open();
        SendMessageA(List(), LB_SETCURSEL, c.select, 0);
        SetDlgItemTextA(dialog_, IDC_SOUND_3D_VOICES, c.voices3D);
        SetDlgItemTextA(dialog_, IDC_SOUND_2D_VOICES, c.voices2D);
        if (c.clickReverb) SendDlgItemMessageA(dialog_, c.clickReverb, BM_CLICK, 0, 0);
        SendMessageA(dialog_, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(SoundFragment(choice_), SoundFragment(c.expected));
    }
    // Cancel leaves the choice as it was.
    choice_ = SoundChoice{5, "before", 16, 32, 45};
    Open();
    SendMessageA(List(), LB_SETCURSEL, 1, 0);
    SendMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(choice_.providerName, "before");
}

TEST(SoundFragmentLocale, FullStopWhateverTheLocale) {
    // Only meaningful where the runtime's Swedish locale writes a decimal comma.
    if (!setlocale(LC_NUMERIC, "Swedish_Sweden.1252") || localeconv()->decimal_point[0] != ',') {
        setlocale(LC_NUMERIC, "C");
        GTEST_SKIP() << "no Swedish locale with a decimal comma in this runtime";
    }
    SoundChoice choice;
    choice.reverb = 45;
    std::string fragment = SoundFragment(choice);
    setlocale(LC_NUMERIC, "C");
    EXPECT_NE(fragment.find("++reverblevel 0.450000 "), std::string::npos) << fragment;
}

}  // namespace
}  // namespace velk
