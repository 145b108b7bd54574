// 3D sound as a player meets it: "Avancerad...", "3D-ljud...", the warning,
// the dialog "3DSOUND", and what reaches the engine and the registry. The
// game folder's stand-in sound library logs every call it gets.
#include <gtest/gtest.h>

#include "launcher_flow.h"

namespace velk::test {
namespace {

constexpr int kProviderList = 1075;
constexpr int k3DVoices = 1076;
constexpr int k2DVoices = 1077;
constexpr int kReverb100 = 1081;
constexpr int kReverb125 = 1082;
const char* const kSoundTitle = "VELK - 3D-ljud";
const char* const kSoundWarning =
    "Maskinvaran för 3D-ljud i din dator kommer nu att undersökas. Det kan ta upp till en minut och det kan "
    "höras små knäppanden och klickljud.";
const char* const kNoProvider = "Det finns ingen 3D-ljudsförsörjare i den här datorn.";

const std::string kSoundHead = std::string(kDemoCommandHead) + " +multiplayer 0 " + kAllSwitchesOff;

// What the stand-in library logs for a detection over `providers` providers that all open.
std::string ExpectedLibraryCalls(int providers) {
    std::string log =
        "AIL_startup\nAIL_set_preference 27 1\nAIL_set_preference 15 0\nAIL_set_preference 33 1\n"
        "AIL_set_preference 40 262144\nAIL_waveOutOpen driver=set waveOut=null device=-1 format=null\n";
    for (int i = 0; i < providers; ++i) {
        const std::string handle = std::to_string(256 + i);
        log += "AIL_enumerate_3D_providers cursor=" + std::to_string(i) + "\nAIL_open_3D_provider " + handle +
               "\nAIL_3D_provider_attribute " + handle + " \"EAX environment selection\" value=-1\n" +
               "AIL_close_3D_provider " + handle + "\n";
    }
    return log + "AIL_enumerate_3D_providers cursor=" + std::to_string(providers) +
           "\nAIL_waveOutClose 1488\nAIL_shutdown\n";
}

class SoundFlow : public LauncherFlow {
protected:
    HWND advanced_ = nullptr;

    void SetUp() override {
        LauncherFlow::SetUp();
        ASSERT_TRUE(WriteFileText(game_ / "mss32_standin.txt", "provider First\nprovider Second\nprovider Third\n"));
    }
    std::string LibraryLog() {
        std::string log;
        return ReadFileText(game_ / "mss32_standin.log", &log) ? log : "";
    }
    // The title window, then "Avancerad...".
    void StartToAdvanced() {
        StartToTitle();
        advanced_ = OpenAdvanced();
        ASSERT_NE(advanced_, nullptr);
    }
    // Presses "3D-ljud..." and answers the box that comes over the advanced dialog; gives its text.
    std::string PressSoundAndAnswerBox(WORD key) {
        ClickControl(advanced_, kSoundButton);
        return AnswerBox(key, nullptr, advanced_);
    }
    HWND WaitSoundDialog() { return Window(kSoundTitle); }
    // Tab from the focused control into the next field selects its text; typing replaces it.
    void TabAndType(HWND dialog, const char* digits) {
        PressKey(dialog, VK_TAB);
        for (const char* d = digits; *d; ++d) PressKey(dialog, static_cast<WORD>(*d));
    }
};

TEST_F(SoundFlow, FreshMachineWarnsOffersProvidersAndTheChoiceReachesTheEngine) {
    StartToAdvanced();
    EXPECT_EQ(PressSoundAndAnswerBox(VK_RETURN), kSoundWarning);
    HWND sound = WaitSoundDialog();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(GetWindow(sound, GW_OWNER), advanced_);
    HWND list = GetDlgItem(sound, kProviderList);
    EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{"Inget 3D-ljud", "Third", "Second", "First"}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ControlText(sound, k3DVoices), "16");
    EXPECT_EQ(ControlText(sound, k2DVoices), "32");
    EXPECT_EQ(SendDlgItemMessageA(sound, kReverb100, BM_GETCHECK, 0, 0), BST_CHECKED);
    const std::string logAfterFirst = LibraryLog();
    EXPECT_EQ(logAfterFirst, ExpectedLibraryCalls(3));

    ClickListItem(sound, kProviderList, 2);  // "Second"
    TabAndType(sound, "8");
    TabAndType(sound, "24");
    ClickControl(sound, kReverb125);
    Close(sound, IDOK);

    // Again: no warning, the library is not called, the choice is preselected.
    ClickControl(advanced_, kSoundButton);
    sound = WaitSoundDialog();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(sound, kProviderList, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(ControlText(sound, k3DVoices), "8");
    Close(sound, IDCANCEL);
    EXPECT_EQ(LibraryLog(), logAfterFirst);

    Close(advanced_, IDOK);
    ClickControl(title_, kStarta);
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    std::string commands;
    ASSERT_TRUE(ReadFileText(game_ / "velkcmds.txt", &commands));
    EXPECT_EQ(commands, kSoundHead +
                            " ++3dsoundprovider 7 ++3dsoundprovidername \"Second\" ++max3dvoices 8 "
                            "++maxswvoices 24 ++reverblevel 1.250000   ");

    DWORD number = 0;
    for (auto [name, value] : {std::pair<const char*, DWORD>{"Sound Provider", 7}, {"Sound 3D Samples", 8},
                               {"Sound 2D Samples", 24}, {"Sound Reverb", 125}, {"Sound Enum Warning", 1}}) {
        EXPECT_TRUE(registry_.Number(name, &number)) << name;
        EXPECT_EQ(number, value) << name;
    }
    std::string name;
    EXPECT_TRUE(registry_.Text("Sound Provider Name", &name));
    EXPECT_EQ(name, "Second");
}

TEST_F(SoundFlow, NothingToOfferGivesBox65AndEachRequestTriesAgain) {
    registry_.SetNumber("Sound Enum Warning", 1);
    ASSERT_TRUE(WriteFileText(game_ / "mss32_standin.txt", "provider First\nwavemapper fails\n"));
    StartToAdvanced();
    EXPECT_EQ(PressSoundAndAnswerBox(VK_RETURN), kNoProvider) << "wave mapper fails";
    EXPECT_NE(LibraryLog().find("AIL_shutdown"), std::string::npos);

    ASSERT_TRUE(WriteFileText(game_ / "mss32_standin.txt", "\n"));
    EXPECT_EQ(PressSoundAndAnswerBox(VK_RETURN), kNoProvider) << "no providers";

    ASSERT_TRUE(DeleteFileA((game_ / "mss32.dll").c_str()));
    EXPECT_EQ(PressSoundAndAnswerBox(VK_RETURN), kNoProvider) << "no library";
    EXPECT_EQ(WaitForWindowNow(launcher_->id(), kSoundTitle), nullptr);

    Close(advanced_, IDCANCEL);
    ClickControl(title_, kStarta);
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    std::string commands;
    ASSERT_TRUE(ReadFileText(game_ / "velkcmds.txt", &commands));
    EXPECT_EQ(commands, kSoundHead + "  ");  // no sound fragment without a confirmed dialog
}

}  // namespace
}  // namespace velk::test
