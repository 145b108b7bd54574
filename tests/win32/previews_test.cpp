// Preview lists read from real profile files by the system, and the list
// boxes that show them.
#include <gtest/gtest.h>

#include "disc/previews.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;

std::string Sections(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string n = std::to_string(i);
        text += "[Preview" + n + "]\r\nName=Film " + n + "\r\nFile=film" + n + ".avi\r\n";
    }
    return text;
}

std::vector<std::string> Entries(const PreviewList& list) {
    std::vector<std::string> texts;
    for (const auto& e : list.entries) texts.push_back(e->name + "|" + e->file);
    return texts;
}

TEST(PreviewProfiles, ReadBySystem) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
    const std::string longName(80, 'n');
    struct Case {
        const char* name;
        std::string content;  // empty: no file
        bool loads;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"no file", "", false, {}},
        {"no sections", "; nothing here\r\nName=x\r\n", false, {}},
        {"missing keys", "[A]\r\nFile=a.avi\r\n[B]\r\nName=Bara namn\r\n[C]\r\n", true, {"|a.avi", "Bara namn|", "|"}},
        {"duplicate sections read the first", "[A]\r\nName=Ett\r\nFile=1.avi\r\n[A]\r\nName=Andra\r\nFile=2.avi\r\n",
         true, {"Ett|1.avi", "Ett|1.avi"}},
        {"long texts cut to 59", "[A]\r\nName=" + longName + "\r\nFile=" + longName + ".avi\r\n", true,
         {std::string(59, 'n') + "|" + std::string(59, 'n')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        if (!c.content.empty()) ASSERT_TRUE(WriteFileText(folder / "Movies.ini", c.content));
        PreviewList list(Win32PreviewHost());
        EXPECT_EQ(list.Load("Movies.ini", folder.path().c_str()), c.loads);
        EXPECT_EQ(Entries(list), c.entries);
    }

    // Whatever sections the system finds in binary garbage, their texts stay within bounds.
    TempFolder folder;
    ASSERT_TRUE(WriteFileText(folder / "Movies.ini", garbage));
    PreviewList list(Win32PreviewHost());
    list.Load("Movies.ini", folder.path().c_str());
    for (const auto& e : list.entries) {
        EXPECT_LE(e->name.size(), 59u);
        EXPECT_LE(e->file.size(), 59u);
    }
}

TEST(PreviewProfiles, MoreSectionsThanTheNameBufferHolds) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileText(folder / "Demos.ini", Sections(150)));
    PreviewList list(Win32PreviewHost());
    ASSERT_TRUE(list.Load("Demos.ini", folder.path().c_str()));
    // "Preview0" ... : the whole names that fit in 1020 characters, in file order.
    ASSERT_EQ(list.entries.size(), 102u);
    for (size_t i = 0; i < list.entries.size(); ++i)
        EXPECT_EQ(list.entries[i]->name, "Film " + std::to_string(i));
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
    HWND box = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_NOTIFY, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(box, nullptr);

    EXPECT_FALSE(FillListBox(list, nullptr));
    ASSERT_TRUE(FillListBox(list, box));
    ASSERT_EQ(SendMessageA(box, LB_GETCOUNT, 0, 0), 2);
    char first[16] = {};
    SendMessageA(box, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "Zeta");

    EXPECT_FALSE(LaunchSelected(list, box));  // nothing selected
    EXPECT_FALSE(LaunchSelected(list, nullptr));
    SendMessageA(box, LB_SETCURSEL, 1, 0);
    EXPECT_TRUE(LaunchSelected(list, box));
    EXPECT_EQ(host.opened, std::vector<std::string>{"R:\\Previews\\Movies\\a.avi"});

    // An item that carries no entry of this list opens nothing.
    SendMessageA(box, LB_SETITEMDATA, 1, 0);
    EXPECT_FALSE(LaunchSelected(list, box));
    PreviewEntry stranger;
    SendMessageA(box, LB_SETITEMDATA, 1, reinterpret_cast<LPARAM>(&stranger));
    EXPECT_FALSE(LaunchSelected(list, box));
    EXPECT_EQ(host.opened.size(), 1u);

    ASSERT_TRUE(FillListBox(list, box));  // a refill replaces the items
    EXPECT_EQ(SendMessageA(box, LB_GETCOUNT, 0, 0), 2);
    DestroyWindow(box);
}

}  // namespace
}  // namespace velk
