#include <gtest/gtest.h>

#include <set>

#include "advanced/note_entries.h"

namespace velk {
namespace {

TEST(WithCrLf, EveryLineFeedGetsACarriageReturn) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"", ""},
        {"no break", "no break"},
        {"a\nb", "a\r\nb"},
        {"paragraph\n\nnext\n", "paragraph\r\n\r\nnext\r\n"},
        {"\n", "\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithCrLf(c.in), c.out) << c.in;
    const std::string breaks(1000, '\n');
    EXPECT_EQ(WithCrLf(breaks).size(), 2000u);
}

// Each list's entries must lead to different texts, or one entry would hide another.
TEST(NoteEntries, EveryEntryHasATextOfItsOwn) {
    for (const NoteList* list : {&HelpNotes(), &CardNotes()}) {
        SCOPED_TRACE(list->selectionValue);
        std::set<unsigned> texts;
        for (size_t i = 0; i < list->count; ++i) {
            EXPECT_NE(list->entries[i].fallbackLabel[0], '\0');
            EXPECT_TRUE(texts.insert(list->entries[i].textId).second) << list->entries[i].fallbackLabel;
        }
    }
}

}  // namespace
}  // namespace velk
