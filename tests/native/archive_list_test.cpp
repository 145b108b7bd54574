#include <gtest/gtest.h>

#include "advanced/archive_list.h"
#include "memory_store.h"

namespace velk {
namespace {

using Names = std::vector<std::string>;

TEST(ArchiveList, SplitDropsEmptyPiecesAndNamesThatCannotBeFiles) {
    const std::string longest(kMaxArchiveName - 4, 'n');
    struct Case {
        std::string text;
        Names expected;
    } const cases[] = {
        {"", {}},
        {"|||", {}},
        {"a.rez", {"a.rez"}},
        {"a.rez||b.rez|", {"a.rez", "b.rez"}},
        {"|A.rez|a.rez", {"A.rez", "a.rez"}},
        {"My Maps.rez|\xe5\xe4\xf6.REZ", {"My Maps.rez", "\xe5\xe4\xf6.REZ"}},
        {longest + ".rez|b.rez", {longest + ".rez", "b.rez"}},
        {longest + "x.rez|b.rez", {"b.rez"}},  // too long: dropped whole, never cut
        {"a\" +god 1 \".rez|..\\x.rez|c:x.rez|t\tab.rez|ok.rez", {"ok.rez"}},
        {".|..|a.rez.|a.rez |nul|con.rez|Lpt1.rez|COM9|aux.x.rez", {}},
        {"console.rez|com0.rez|lpt10.rez|nul1.rez|.hidden.rez", {"console.rez", "com0.rez", "lpt10.rez", "nul1.rez", ".hidden.rez"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitArchiveList(c.text), c.expected);
    }
}

TEST(ArchiveList, JoinKeepsWholeNamesWithinTheLimit) {
    const std::string half(1022, 'h');  // two of them and a bar: 2045
    struct Case {
        const char* name;
        Names names;
        std::string expected;
    } const cases[] = {
        {"none", {}, ""},
        {"order and bars", {"a.rez", "b.rez", "c.rez"}, "a.rez|b.rez|c.rez"},
        {"empty names left out", {"", "a.rez", "", "b.rez", ""}, "a.rez|b.rez"},
        {"exactly the limit", {half, half}, half + "|" + half},
        {"the first that does not fit ends the text", {half, half + "x", "c.rez"}, half},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string joined = JoinArchiveList(c.names);
        EXPECT_EQ(joined, c.expected);
        EXPECT_LE(joined.size(), kMaxSavedArchiveList);
    }
    EXPECT_EQ(JoinArchiveList({"a.rez", "b.rez"}, 10), "a.rez");
}

TEST(ArchiveList, SaveTellsWhetherTheWholeListWasKept) {
    const Names tooMany(9, std::string(246, 'x') + ".rez");  // 9 * 250 + 8 bars > 2045
    const struct {
        Names names;
        bool ticked;
        bool whole;
        size_t savedLength;  // of "Rez Files"; 0: not written
    } cases[] = {{{"a.rez", "b.rez"}, true, true, 11}, {tooMany, true, false, 8 * 250 + 7}, {tooMany, false, true, 0}};
    for (const auto& c : cases) {
        MemoryStore store;
        EXPECT_EQ(SaveArchiveChoice(&store, c.names, c.ticked), c.whole);
        EXPECT_EQ(store.texts.count("Rez Files") ? store.texts["Rez Files"].size() : 0u, c.savedLength);
    }
}

TEST(ArchiveList, FragmentPerName) {
    struct Case {
        Names names;
        std::string expected;
    } const cases[] = {
        {{}, ""},
        {{"", ""}, ""},
        {{"a.rez", "b.rez"}, " -rez custom\\a.rez -rez custom\\b.rez"},
        {{"My Maps.rez"}, " -rez \"custom\\My Maps.rez\""},
        {{"x.rez", "", "\xe5\xe4\xf6.REZ"}, " -rez custom\\x.rez -rez custom\\\xe5\xe4\xf6.REZ"},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildArchiveFragment(c.names), c.expected);
}

TEST(ArchiveList, ArchiveFileNamesEndInRezInAnyCase) {
    for (const char* yes : {"a.rez", "A.REZ", "b.Rez", "two dots.x.rez", "\xe5.rez"}) EXPECT_TRUE(IsArchiveFileName(yes)) << yes;
    for (const char* no : {"", "rez", "a.re", "a.rezz", "a.rez.bak", "arez", "a|b.rez", "a?.rez"})
        EXPECT_FALSE(IsArchiveFileName(no)) << no;
}

}  // namespace
}  // namespace velk
