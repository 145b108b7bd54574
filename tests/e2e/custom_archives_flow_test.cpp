// Extra archives as a player picks them: "Avancerad...", the warning,
// "Anpassa", the two lists, and what reaches the engine in this run and the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "launcher_flow.h"

namespace velk::test {
namespace {

constexpr int kAnpassa = 1070;
constexpr int kAdd = 1037;
constexpr int kRemove = 1038;
constexpr int kAvailable = 1039;
constexpr int kChosen = 1040;
constexpr int kAlwaysLoad = 1043;
const char* const kCustomTitle = "Avancerade alternativ - Anpassa";
const char* const kNoArchives =
    "Hittar inga fler VELK .REZ-filer i Custom-mappen. Tilläggsfiler till VELK av typ .REZ måste placeras i mappen "
    "som heter Custom.";

const std::string kArchivesHead = std::string(kDemoCommandHead) + " +multiplayer 0 " + kAllSwitchesOff;

class CustomArchivesFlow : public LauncherFlow {
protected:
    void AddArchives(const std::vector<std::string>& names) {
        ASSERT_TRUE(MakeFolder(game_ / "Custom"));
        for (const std::string& name : names) ASSERT_TRUE(WriteFileText(game_ / ("Custom\\" + name), "rez"));
    }
    // "Anpassa" of the advanced dialog.
    HWND OpenCustom(HWND advanced) {
        ClickControl(advanced, kAnpassa);
        return Window(kCustomTitle);
    }
    // Clicks the item with this text.
    void ClickItem(HWND dialog, int listId, const std::string& text, int clicks = 1) {
        std::vector<std::string> texts = ListBoxTexts(GetDlgItem(dialog, listId));
        auto at = std::find(texts.begin(), texts.end(), text);
        ASSERT_NE(at, texts.end()) << text;
        ClickListItem(dialog, listId, static_cast<int>(at - texts.begin()), clicks);
    }
    std::string Text(const char* name) { return registry_.Text(name); }
};

TEST_F(CustomArchivesFlow, ChosenArchivesReachTheEngineAndAreRemembered) {
    AddArchives({"a.rez", "b.rez", "My Maps.rez", "notes.txt"});
    StartToTitle();
    HWND advanced = OpenAdvanced();
    ASSERT_NE(advanced, nullptr);
    HWND custom = OpenCustom(advanced);
    ASSERT_NE(custom, nullptr);
    std::vector<std::string> available = ListBoxTexts(GetDlgItem(custom, kAvailable));
    std::sort(available.begin(), available.end());
    EXPECT_EQ(available, (std::vector<std::string>{"My Maps.rez", "a.rez", "b.rez"}));

    HWND chosenList = GetDlgItem(custom, kChosen);
    ClickItem(custom, kAvailable, "b.rez");
    ClickControl(custom, kAdd);
    ClickItem(custom, kAvailable, "a.rez", 2);  // a double-click adds as well
    ASSERT_EVENTUALLY_EQ(ListBoxTexts(chosenList), (std::vector<std::string>{"b.rez", "a.rez"}));
    ClickItem(custom, kAvailable, "My Maps.rez");
    ClickControl(custom, kAdd);
    ASSERT_EVENTUALLY_EQ(ListBoxTexts(chosenList).size(), 3u);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(custom, kAdd)));  // already chosen
    ClickItem(custom, kChosen, "a.rez");
    ClickControl(custom, kRemove);
    EXPECT_EVENTUALLY_EQ(ListBoxTexts(chosenList), (std::vector<std::string>{"b.rez", "My Maps.rez"}));
    ClickControl(custom, kAlwaysLoad);
    Close(custom, IDOK);
    Close(advanced, IDOK);
    const std::string chosen = " -rez custom\\b.rez -rez \"custom\\My Maps.rez\"";
    EXPECT_EQ(PlayAndReadCommandFile(), kArchivesHead + chosen + "  ");
    EXPECT_EQ(Text("Rez Files"), "b.rez|My Maps.rez");

    // The next run starts with the saved choice, even for a file that is gone since.
    ASSERT_TRUE(DeleteFileA((game_ / "Custom\\b.rez").c_str()));
    StartToTitle();
    EXPECT_EQ(PlayAndReadCommandFile(), kArchivesHead + chosen + "  ");
}

TEST_F(CustomArchivesFlow, WithoutArchivesTheNoticeComesAndNothingIsAdded) {
    AddArchives({"readme.txt"});
    StartToTitle();
    HWND advanced = OpenAdvanced();
    ASSERT_NE(advanced, nullptr);
    ClickControl(advanced, kAnpassa);
    EXPECT_EQ(AnswerBox(VK_RETURN), kNoArchives);
    EXPECT_EQ(WaitForWindow(launcher_->id(), kCustomTitle, 300), nullptr);
    Close(advanced, IDOK);  // the advanced dialog stayed open
    EXPECT_EQ(PlayAndReadCommandFile(), kArchivesHead + "  ");
}

// Game folders as players have them: deep below their profile, or named
// outside the ANSI code page beside a folder with the look-alike name.
struct GameFolderCase {
    const char* name;
    size_t length;  // of the game folder's full path; 0: "spel-ā" beside "spel-a"
};
void PrintTo(const GameFolderCase& c, std::ostream* out) { *out << c.name; }

// Folders of 'd' within the scratch folder, making a path of `length` characters below it.
std::string DeepName(size_t length) {
    std::string name;
    while (length - name.size() > 50) name += std::string(49, 'd') + "\\";
    return name + std::string(length - name.size(), 'd');
}

class GameFolderFlow : public CustomArchivesFlow, public ::testing::WithParamInterface<GameFolderCase> {};

TEST_P(GameFolderFlow, StartsWithoutTheQuestionAndPassesItsArchives) {
    const GameFolderCase& c = GetParam();
    std::string lookAlike;
    if (c.length) {
        ASSERT_GT(c.length, game_.scratch().size() + 1);
        ASSERT_TRUE(game_.MoveTo(DeepName(c.length - game_.scratch().size() - 1)));
        ASSERT_EQ(game_.path().size(), c.length);
    } else {
        ASSERT_TRUE(game_.MoveTo("spel-a"));
        lookAlike = game_.path();
        ASSERT_TRUE(game_.MoveTo("spel-\xc4\x81"));
    }
    // "autoexec.cfg" is found, so a returning player gets the game, not the performance question.
    launcher_ = std::make_unique<Process>();
    ASSERT_TRUE(launcher_->Start(game_.widePath(), "Velkarion.exe", "-GOGAME"));
    EXPECT_EQ(launcher_->WaitExit(kExitWait), 1u) << "the performance question came";
    EXPECT_NE(game_.CommandFile(), "<none>");

    ASSERT_TRUE(game_.PutFolder("Custom"));
    ASSERT_TRUE(game_.Put("Custom\\deep.rez", "rez"));
    StartToTitle();
    HWND advanced = OpenAdvanced();
    ASSERT_NE(advanced, nullptr);
    HWND custom = OpenCustom(advanced);
    ASSERT_NE(custom, nullptr);
    ClickItem(custom, kAvailable, "deep.rez");
    ClickControl(custom, kAdd);
    Close(custom, IDOK);
    Close(advanced, IDOK);
    EXPECT_EQ(PlayAndReadCommandFile(), kArchivesHead + " -rez custom\\deep.rez  ");
    if (!lookAlike.empty()) {
        std::string other;
        EXPECT_FALSE(ReadFileText(lookAlike + "\\velkcmds.txt", &other)) << other;
    }
}

const GameFolderCase kGameFolders[] = {
    {"Deep60", 60},
    {"Deep150", 150},
    {"Deep230", 230},
    {"OutsideTheCodePageBesideItsLookAlike", 0},
};
INSTANTIATE_TEST_SUITE_P(Players, GameFolderFlow, ::testing::ValuesIn(kGameFolders),
                         [](const ::testing::TestParamInfo<GameFolderCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velk::test
