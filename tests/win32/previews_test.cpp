// Preview lists read from real profile files by the system, and the list
// boxes that show them.
#include <gtest/gtest.h>

#include "disc/previews.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;

TEST(PreviewProfiles, ReadBySystem) {
    std::string garbage, many;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
    for (int i = 0; i < 150; ++i) many += "[Preview" + std::to_string(i) + "]\r\nName=Film\r\n";
    const std::string longText(80, 'n');
    struct Case {
        const char* name;
        std::string content;  // empty: no file
        int loads;            // 1, 0, or -1 when either is right
        std::vector<std::string> first;
        size_t count;
    };
    const Case cases[] = {
        {"no file", "", 0, {}, 0},
        {"no sections", "; nothing\r\nName=x\r\n", 0, {}, 0},
        {"missing keys", "[A]\r\nFile=a.avi\r\n[B]\r\nName=Bara namn\r\n", 1, {"|a.avi", "Bara namn|"}, 2},
        {"duplicate sections read the first", "[A]\r\nName=Ett\r\nFile=1\r\n[A]\r\nName=Andra\r\nFile=2\r\n", 1,
         {"Ett|1", "Ett|1"}, 2},
        {"long texts cut to 59", "[A]\r\nName=" + longText + "\r\nFile=" + longText + "\r\n", 1,
         {std::string(59, 'n') + "|" + std::string(59, 'n')}, 1},
        {"more sections than 1020 characters hold", many, 1, {"Film|"}, 102},
        {"binary garbage", garbage, -1, {}, SIZE_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        if (!c.content.empty()) { ASSERT_TRUE(WriteFileText(folder / "Movies.ini", c.content)); }
        PreviewList list(Win32PreviewHost());
        bool loaded = list.Load("Movies.ini", folder.path().c_str());
        if (c.loads >= 0) { EXPECT_EQ(loaded, c.loads == 1); }
        if (c.count != SIZE_MAX) { EXPECT_EQ(list.entries.size(), c.count); }
        for (size_t i = 0; i < list.entries.size(); ++i) {
            const PreviewEntry& e = *list.entries[i];
            if (i < c.first.size()) { EXPECT_EQ(e.name + "|" + e.file, c.first[i]); }
            EXPECT_LE(e.name.size(), 59u);
            EXPECT_LE(e.file.size(), 59u);
        }
    }
}

// A host that records what would be opened.
class RecordingHost final : public PreviewHost {
public:
    std::vector<std::string> opened;
    std::string CurrentFolder(uint32_t) override { return ""; }
    uint32_t SectionNames(const std::string&, char*, uint32_t) override { return 0; }
    std::string ReadText(const std::string&, const std::string&, const char*, uint32_t) override { return ""; }
    bool OpenWithShell(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
};

TEST(PreviewListBox, FillsInOrderAndLaunchesOnlyTheSelectedEntry) {
    RecordingHost host;
    PreviewList list(host);
    list.folder = "R:\\Previews\\Movies";
    list.AddEntry("Zeta", "z.avi");
    list.AddEntry("Alfa", "a.avi");
    HWND box = CreateWindowExA(0, "LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(FillListBox(list, nullptr));
    ASSERT_TRUE(FillListBox(list, box));
    ASSERT_TRUE(FillListBox(list, box));  // a refill replaces the items
    ASSERT_EQ(SendMessageA(box, LB_GETCOUNT, 0, 0), 2);
    char first[16] = {};
    SendMessageA(box, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "Zeta");

    EXPECT_FALSE(LaunchSelected(list, box));  // nothing selected
    SendMessageA(box, LB_SETCURSEL, 1, 0);
    EXPECT_TRUE(LaunchSelected(list, box));
    // Items that carry no entry of this list open nothing.
    PreviewEntry stranger;
    for (LPARAM data : {LPARAM(0), reinterpret_cast<LPARAM>(&stranger)}) {
        SendMessageA(box, LB_SETITEMDATA, 1, data);
        EXPECT_FALSE(LaunchSelected(list, box));
    }
    EXPECT_EQ(host.opened, std::vector<std::string>{"R:\\Previews\\Movies\\a.avi"});
    DestroyWindow(box);
}

}  // namespace
}  // namespace velk
