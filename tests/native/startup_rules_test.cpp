#include <gtest/gtest.h>

#include <vector>

#include "launcher/startup_rules.h"
#include "launcher/title_links.h"

namespace velk {
namespace {

TEST(ParseLauncherSwitches, SubstringsInAnyCase) {
    struct Case {
        const char* line;
        bool multiplayer, play;
    };
    const Case cases[] = {
        {"", false, false},
        {"-GOGAME", false, true},
        {"-gogame", false, true},
        {"x-GoGaMe", false, true},
        {"-GOMULTI", true, false},
        {"-gogame -gomulti", true, true},
        {"+connect 10.0.0.1", true, false},
        {"disconnected", true, false},  // plain substring search
        {"-GO GAME", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        LauncherSwitches s = ParseLauncherSwitches(c.line);
        EXPECT_EQ(s.multiplayer, c.multiplayer);
        EXPECT_EQ(s.play, c.play);
    }
    EXPECT_FALSE(ParseLauncherSwitches(nullptr).play);
}

TEST(ParseLauncherSwitches, OnlyTheFirst255CharactersCount) {
    std::string line(250, 'x');
    EXPECT_TRUE(ParseLauncherSwitches((line + "-GOGAME").c_str()).play == false);
    line.resize(248);
    EXPECT_TRUE(ParseLauncherSwitches((line + "-GOGAME").c_str()).play);
}

TEST(NumRunsLine, ValueRules) {
    struct Case {
        const char* line;
        bool isNumRuns;
        const char* value;
        int32_t runs;
    };
    const Case cases[] = {
        {"\"NumRuns\" \"3\"\n", true, "3", 3},
        {"NumRuns 12\n", true, "12", 12},
        {"numruns 7", true, "7", 7},
        {"NumRunsX 5\n", true, "X 5", 0},      // followed directly by a letter: 0
        {"\"NumRuns\"\"\"  \"42\"\"\n", true, "42", 42},
        {"NumRuns\n", true, "\n", 0},          // the first character is never stripped
        {"NumRuns \"\"\n", true, "\n", 0},
        {"  NumRuns 3\n", false, "", 0},       // only one leading quote is skipped
        {"\"\"NumRuns 3\n", false, "", 0},
        {"NumRun 3\n", false, "", 0},
        {"", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string value = "unchanged";
        EXPECT_EQ(ParseNumRunsLine(c.line, &value), c.isNumRuns);
        if (c.isNumRuns) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(LeadingInteger(value), c.runs);
        } else {
            EXPECT_EQ(value, "unchanged");
        }
    }
}

TEST(NumRunsLine, LongValueIsCutTo63Characters) {
    std::string line = "NumRuns " + std::string(100, '9') + "\n";
    std::string value;
    ASSERT_TRUE(ParseNumRunsLine(line.c_str(), &value));
    EXPECT_EQ(value.size(), 63u);
    EXPECT_EQ(LeadingInteger(value), INT32_MAX);  // clamped, never overflows
}

TEST(LeadingInteger, DecimalPrefix) {
    EXPECT_EQ(LeadingInteger("17abc"), 17);
    EXPECT_EQ(LeadingInteger("-4"), -4);
    EXPECT_EQ(LeadingInteger(" 8"), 8);
    EXPECT_EQ(LeadingInteger("x1"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
}

TEST(TitlePicture, CountBelowOneCountsAsOne) {
    EXPECT_EQ(TitlePictureCount("1"), 1);
    EXPECT_EQ(TitlePictureCount("0"), 1);
    EXPECT_EQ(TitlePictureCount("-3"), 1);
    EXPECT_EQ(TitlePictureCount(""), 1);
    EXPECT_EQ(TitlePictureCount("4"), 4);
}

// A scripted random source; records how often it was asked.
struct Draws {
    std::vector<int> values;
    size_t next = 0;
    int operator()() { return values.at(next++ % values.size()); }
};

TEST(TitlePicture, RedrawsAvoidTheLastPicture) {
    struct Case {
        const char* name;
        int32_t count, last;
        std::vector<int> draws;
        int32_t expected;
        size_t drawsUsed;
    };
    const Case cases[] = {
        {"first draw differs", 2, 0, {1}, 1, 1},
        {"draw that gives 1 stands", 2, 0, {0, 0, 5}, 1, 3},
        {"all 21 draws meet the last", 2, 0, {0}, 0, 21},
        {"modulo the count", 3, 2, {5, 7}, 1, 2},
        {"one picture never draws", 1, 0, {0}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Draws d{c.draws};
        EXPECT_EQ(ChooseTitlePictureIndex(c.count, c.last, std::ref(d)), c.expected);
        EXPECT_EQ(d.next, c.drawsUsed);
    }
    EXPECT_EQ(TitlePictureName(0), "GAME1");
    EXPECT_EQ(TitlePictureName(11), "GAME12");
}

}  // namespace
}  // namespace velk

namespace velk {
namespace {

TEST(TitleLinks, EdgesBelongToTheRectangleAndAbsentLinksAreNeverHit) {
    LinkRect rects[3] = {{10, 20, 50, 28}, {10, 30, 80, 38}, {10, 40, 80, 48}};
    struct Case {
        int32_t x, y;
        int expected;
    };
    const Case cases[] = {
        {10, 20, 1}, {50, 28, 1}, {51, 28, 0}, {50, 29, 0},  // right and bottom edges count
        {80, 38, 2}, {9, 35, 0},  {10, 48, 3}, {200, 200, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(HitTestLinkRects(rects, c.x, c.y), c.expected) << c.x << "," << c.y;

    // Overlapping rectangles: the first wins.
    LinkRect overlap[3] = {{0, 0, 10, 10}, {0, 0, 10, 10}, {0, 0, 10, 10}};
    EXPECT_EQ(HitTestLinkRects(overlap, 5, 5), 1);
    // A missing static keeps only its left edge of -999, the rest may be anything.
    overlap[0] = {kAbsentLink, 0, 0, 0};
    EXPECT_EQ(HitTestLinkRects(overlap, 5, 5), 2);
    LinkRect absent[3] = {{kAbsentLink, -2000, 2000, 2000}, {kAbsentLink, 0, 0, 0}, {kAbsentLink, 0, 0, 0}};
    EXPECT_EQ(HitTestLinkRects(absent, -998, 0), 0);
}

}  // namespace
}  // namespace velk
