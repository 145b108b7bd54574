// Reading the saved display choice from the engine's settings file.
#include <gtest/gtest.h>

#include <cstdio>
#include <array>
#include <fstream>

#include "display/renderer_list.h"
#include "display/saved_choice.h"

namespace velk {
namespace {

using Key = SavedDisplayChoice::Key;

// Named after the running test: ctest runs tests side by side.
std::string WriteTempFile(const std::string& name, const std::string& bytes) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string path = testing::TempDir() + "velk_" + test->test_suite_name() + "_" + test->name() + "_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(SavedChoice, LineValueRules) {
    const std::string longValue(300, 'v');
    struct Case {
        const char* name;
        std::string line;
        int key;  // -1: the line is ignored
        std::string value;
    } const cases[] = {
        {"quoted key and value", "\"RenderDll\" \"a.ren\"\n", Key::kRenderDll, "a.ren"},
        {"key in another case", "renderdll a.ren\n", Key::kRenderDll, "a.ren"},
        {"many quotes around the value", "RENDERDLL\"\" \"a.ren\"\"\"\n", Key::kRenderDll, "a.ren"},
        {"no line end", "\"CardDesc\" \"Card1\"", Key::kCardDesc, "Card1"},
        {"empty value keeps its line end", "RenderDll\n", Key::kRenderDll, "\n"},
        {"empty value at the end of the file", "RenderDll", Key::kRenderDll, ""},
        {"only a quote after the key", "RenderDll \"", Key::kRenderDll, ""},
        {"a lone quote as value is never cut", "RenderDll\t\"\n", Key::kRenderDll, "\t"},
        {"tab is part of the value", "RenderDll\ta.ren\n", Key::kRenderDll, "\ta.ren"},
        {"trailing spaces stay", "RenderDll a.ren  \n", Key::kRenderDll, "a.ren  "},
        {"quote inside stays", "CardDesc \"My \"Card\"\"\n", Key::kCardDesc, "My \"Card"},
        {"Renderer is its own key", "\"Renderer\" \"Example Card\"\n", Key::kRenderer, "Example Card"},
        {"key followed directly by text", "RendererX\n", Key::kRenderer, "X"},
        {"RenderDll wins over Renderer", "RenderDllFoo bar\n", Key::kRenderDll, "Foo bar"},
        {"width", "\"ScreenWidth\" \"1024\"\n", Key::kScreenWidth, "1024"},
        {"height", "ScreenHeight 768\n", Key::kScreenHeight, "768"},
        {"bit depth", "\"BitDepth\" \"32\"\n", Key::kBitDepth, "32"},
        {"long text value cut to its field", "RenderDll " + longValue + "\n", Key::kRenderDll, longValue.substr(0, 127)},
        {"long number cut to its field", "BitDepth " + longValue, Key::kBitDepth, longValue.substr(0, 63)},
        {"leading space: no key", " RenderDll a.ren\n", -1, ""},
        {"two leading quotes: no key", "\"\"RenderDll a.ren\n", -1, ""},
        {"other keys are ignored", "\"NumRuns\" \"3\"\n", -1, ""},
        {"shortened key", "RenderD a.ren\n", -1, ""},
        {"empty line", "\n", -1, ""},
        {"nothing", "", -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SavedDisplayChoice choice;
        const SavedDisplayChoice before;
        choice.TakeLine(c.line);
        for (int key = 0; key < Key::kKeyCount; ++key) {
            if (key == c.key) {
                EXPECT_TRUE(choice.seen[key]);
                EXPECT_EQ(choice.values[key], c.value);
            } else {
                EXPECT_FALSE(choice.seen[key]) << key;
                EXPECT_EQ(choice.values[key], before.values[key]) << key;
            }
        }
    }
}

TEST(SavedChoice, NumbersStartAtTheDefaults) {
    SavedDisplayChoice choice;
    EXPECT_EQ(choice.values[Key::kScreenWidth], "640");
    EXPECT_EQ(choice.values[Key::kScreenHeight], "480");
    EXPECT_EQ(choice.values[Key::kBitDepth], "16");
    EXPECT_FALSE(choice.AllSeen());
}

TEST(SavedChoice, LinesAsTextModeReadsThem) {
    const std::string longLine = std::string(600, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } const cases[] = {
        {"LF", "a\nb\n", {"a\n", "b\n"}},
        {"CR LF becomes LF", "a\r\nb\r\n", {"a\n", "b\n"}},
        {"lone CR stays", "a\rb\n", {"a\rb\n"}},
        {"CR at the very end stays", "a\r", {"a\r"}},
        {"no line end at the end", "a\nlast", {"a\n", "last"}},
        {"over-long line: first 511 characters, the rest passed over", longLine + "\nnext\n",
         {std::string(511, 'x'), "next\n"}},
        {"line of exactly 511 characters", std::string(510, 'y') + "\nz", {std::string(510, 'y') + "\n", "z"}},
        {"NUL ends the line", std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        {"empty lines", "\n\r\n", {"\n", "\n"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = WriteTempFile("lines.cfg", c.bytes);
        FILE* file = fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        std::vector<std::string> lines;
        std::string line;
        while (ReadSettingsLine(file, &line)) lines.push_back(line);
        fclose(file);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(SavedChoice, ReadingStopsOnceEveryKeyWasSeen) {
    std::string path = WriteTempFile("six.cfg",
                                     "\"RenderDll\" \"first.ren\"\r\n"
                                     "\"RenderDll\" \"a.ren\"\r\n"  // a later line replaces the value
                                     "\"Renderer\" \"R\"\r\n"
                                     "\"CardDesc\" \"Card1\"\r\n"
                                     "\"ScreenWidth\" \"1024\"\r\n"
                                     "\"ScreenHeight\" \"768\"\r\n"
                                     "\"BitDepth\" \"32\"\r\n"
                                     "\"RenderDll\" \"after.ren\"\r\n");
    SavedDisplayChoice choice;
    ASSERT_TRUE(ReadSavedDisplayChoice(path, &choice));
    EXPECT_TRUE(choice.AllSeen());
    EXPECT_EQ(choice.values[Key::kRenderDll], "a.ren");
    EXPECT_EQ(choice.values[Key::kCardDesc], "Card1");
    EXPECT_EQ(choice.values[Key::kBitDepth], "32");

    SavedDisplayChoice missing;
    EXPECT_FALSE(ReadSavedDisplayChoice(testing::TempDir() + "velk_no_such.cfg", &missing));
}

TEST(SavedChoice, SettingNumbers) {
    struct Case {
        const char* text;
        int32_t value;
    } const cases[] = {
        {"1024", 1024},     {"  768", 768},   {"\t+16", 16},       {"-5", -5},          {"12abc", 12},
        {"abc", 0},         {"", 0},          {"\n", 0},           {"+-3", 0},          {"- 3", 0},
        {"2147483647", 2147483647},           {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},     {"-99999999999999999999", -2147483647 - 1},
        {"1024\"", 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SettingNumber(c.text), c.value);
    }
}

// A model built by hand: a.ren with Card1 (hardware) and Card2, b.ren with Soft.
class SavedChoiceModel : public ::testing::Test {
protected:
    RendererList list;
    Renderer* a = nullptr;
    Renderer* b = nullptr;
    DisplayCard* card1 = nullptr;
    DisplayCard* card2 = nullptr;

    void SetUp() override {
        a = AddRenderer("a.ren");
        b = AddRenderer("b.ren");
        card1 = a->AddCard("Card1", "Example Card", 1);
        for (auto m : {std::array<int, 3>{640, 480, 16}, {800, 600, 16}, {1024, 768, 16}, {1024, 768, 32}})
            card1->AddMode(m[0], m[1], m[2]);
        card2 = a->AddCard("Card2", "Second Card", 1);
        card2->AddMode(800, 600, 16);
        card2->AddMode(1024, 768, 16);
        b->AddCard("Soft", "Software", 0)->AddMode(640, 480, 16);
        list.ChooseDefaultModes();
    }
    Renderer* AddRenderer(const char* name) {
        list.items.push_back(std::make_unique<Renderer>());
        list.items.back()->fileName = name;
        return list.items.back().get();
    }
    bool Read(const std::string& text) { return list.ReadSavedChoice(WriteTempFile("choice.cfg", text)); }
};

TEST_F(SavedChoiceModel, TheExampleFileSelectsRendererCardAndMode) {
    ASSERT_TRUE(Read("\"RenderDll\" \"a.ren\"\n\"CardDesc\" \"Card1\"\n\"ScreenWidth\" \"1024\"\n"
                     "\"ScreenHeight\" \"768\"\n\"BitDepth\" \"16\"\n"));
    EXPECT_EQ(list.currentRenderer, a);
    EXPECT_EQ(a->currentCard, card1);
    EXPECT_EQ(card1->currentMode, card1->modes[2].get());
    EXPECT_EQ(b->currentCard, nullptr);
}

TEST_F(SavedChoiceModel, OutcomesOfPartialOrUnknownChoices) {
    struct Case {
        const char* name;
        std::string text;
        const char* renderer;  // fileName of the current renderer, or nullptr
        const char* card;      // name of a.ren's current card, or nullptr
        const char* card1Mode; // label of Card1's current mode
        const char* card2Mode; // label of Card2's current mode
    } const cases[] = {
        {"all five lines", "RenderDll a.ren\nCardDesc Card1\nScreenWidth 1024\nScreenHeight 768\nBitDepth 32\n",
         "a.ren", "Card1", "1024 x 768 x 32", "800 x 600 x 16"},
        {"no size lines: 640 x 480 x 16", "RenderDll a.ren\nCardDesc Card1\n", "a.ren", "Card1", "640 x 480 x 16",
         "800 x 600 x 16"},
        {"saved mode missing: the default stays", "RenderDll a.ren\nCardDesc Card2\nBitDepth 8\n", "a.ren", "Card2",
         "640 x 480 x 16", "800 x 600 x 16"},
        {"saved mode of the second card", "RenderDll a.ren\nCardDesc Card2\nScreenWidth 1024\nScreenHeight 768\n",
         "a.ren", "Card2", "640 x 480 x 16", "1024 x 768 x 16"},
        {"saved card not found", "RenderDll a.ren\nCardDesc card1\n", "a.ren", nullptr, "640 x 480 x 16",
         "800 x 600 x 16"},
        {"file name in another case", "RenderDll A.REN\nCardDesc Card1\n", nullptr, nullptr, "640 x 480 x 16",
         "800 x 600 x 16"},
        {"no RenderDll: nothing changes", "CardDesc Card1\nScreenWidth 1024\nScreenHeight 768\n", nullptr, nullptr,
         "640 x 480 x 16", "800 x 600 x 16"},
        {"lines after the complete set are ignored",
         "RenderDll a.ren\nRenderer x\nCardDesc Card1\nScreenWidth 800\nScreenHeight 600\nBitDepth 16\n"
         "CardDesc Card2\n", "a.ren", "Card1", "800 x 600 x 16", "800 x 600 x 16"},
        {"empty file", "", nullptr, nullptr, "640 x 480 x 16", "800 x 600 x 16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.Clear();
        SetUp();
        ASSERT_TRUE(Read(c.text));
        EXPECT_EQ(list.currentRenderer ? list.currentRenderer->fileName : std::string(), c.renderer ? c.renderer : "");
        EXPECT_EQ(a->currentCard ? a->currentCard->name : std::string(), c.card ? c.card : "");
        EXPECT_EQ(card1->currentMode->label, c.card1Mode);
        EXPECT_EQ(card2->currentMode->label, c.card2Mode);
    }
}

TEST_F(SavedChoiceModel, MissingFileChoosesNothing) {
    EXPECT_FALSE(list.ReadSavedChoice(testing::TempDir() + "velk_absent.cfg"));
    EXPECT_EQ(list.currentRenderer, nullptr);
    EXPECT_EQ(a->currentCard, nullptr);
}

}  // namespace
}  // namespace velk
