// The flow that every language's build runs as a player would: title window,
// play on a first run, the performance question, and a command file that is
// the same whatever the language.
#include <gtest/gtest.h>

#include "launcher_flow.h"
#include "ids_detail.h"
#include "ids_strings.h"

namespace velk::test {
namespace {

class PlayFlow : public LauncherFlow {
protected:
    void SetUp() override {}  // a first run
};

TEST_F(PlayFlow, FirstPlayAsksTheLevelWritesTheSameCommandFileAndTheBuildsLanguage) {
    StartToTitle();
    ClickControl(title_, kStarta);
    ASSERT_TRUE(WaitWindowGone(title_, kWindowWait));
    HWND question = WaitForWindow(launcher_->id(), "", kWindowWait);
    ASSERT_NE(question, nullptr);
    ASSERT_NE(GetDlgItem(question, IDC_DETAIL_NORMAL), nullptr) << WindowTextUtf8(question);
    ClickControl(question, IDC_DETAIL_NORMAL);
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(game_.CommandFile(),
              std::string(kDemoCommandHead) + " +multiplayer 0 " + kAllSwitchesOff + " ++PerformanceLevel 1  ");
    EXPECT_EQ(WaitEngineStarts(game_.path(), 1, kExitWait).size(), 1u);

    // "Language" is the launcher's own string 84.
    HMODULE launcher = LoadLibraryExA((game_ / "Velkarion.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char language[64] = {};
    EXPECT_GT(LoadStringA(launcher, IDS_LANGUAGE, language, sizeof(language)), 0);
    FreeLibrary(launcher);
    EXPECT_EQ(registry_.Text("Language"), language);
}

}  // namespace
}  // namespace velk::test
