#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "disc/preview_list.h"

namespace velk {
namespace {

// Profile files as tables: sections in file order with their keys; the
// section-name list is cut short like the system's.
class FakeProfiles final : public PreviewHost {
public:
    struct Section {
        std::string name;
        std::map<std::string, std::string> keys;
    };
    std::map<std::string, std::vector<Section>> files;
    std::string currentFolder = "C:\\Games\\Velk";
    std::vector<std::string> opened;
    bool shellSucceeds = true;

    std::string CurrentFolder(uint32_t) override { return currentFolder; }
    uint32_t SectionNames(const std::string& profile, char* buffer, uint32_t capacity) override {
        std::string names;
        for (const Section& s : files[profile]) names += s.name + '\0';
        if (names.size() + 2 <= capacity) {
            std::memcpy(buffer, names.data(), names.size());
            buffer[names.size()] = '\0';
            return static_cast<uint32_t>(names.size());
        }
        // Cut short: the last name loses its end and its NUL falls outside the count.
        std::memcpy(buffer, names.data(), capacity - 2);
        buffer[capacity - 2] = buffer[capacity - 1] = '\0';
        return capacity - 2;
    }
    std::string ReadText(const std::string& profile, const std::string& section, const char* key,
                         uint32_t capacity) override {
        for (const Section& s : files[profile]) {
            if (s.name != section) continue;
            auto value = s.keys.find(key);
            return value == s.keys.end() ? "" : value->second.substr(0, capacity - 1);
        }
        return "";
    }
    bool OpenWithShell(const std::string& path) override {
        opened.push_back(path);
        return shellSucceeds;
    }
};

std::vector<std::string> Names(const PreviewList& list) {
    std::vector<std::string> names;
    for (const auto& e : list.entries) names.push_back(e->name + "|" + e->file);
    return names;
}

TEST(PreviewPaths, EntryAndProfilePaths) {
    struct Case {
        std::string folder, file, entryPath, profilePath;
    };
    const Case cases[] = {
        {"R:\\Previews\\Movies", "intro.avi", "R:\\Previews\\Movies\\intro.avi", "R:\\Previews\\Movies\\intro.avi"},
        {"R:\\", "intro.avi", "R:\\intro.avi", "R:\\intro.avi"},
        {"", "intro.avi", "\\intro.avi", "intro.avi"},
        {"R:\\Previews\\Demos", "", "R:\\Previews\\Demos\\", "R:\\Previews\\Demos\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + " + " + c.file);
        PreviewEntry entry;
        entry.folder = c.folder;
        entry.file = c.file;
        EXPECT_EQ(entry.EntryPath(), c.entryPath);
        EXPECT_EQ(ProfilePath(c.folder, c.file), c.profilePath);
    }
}

TEST(PreviewPaths, SectionNameLists) {
    struct Case {
        const char* name;
        std::string buffer;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"two names", std::string("A\0B\0\0", 5), {"A", "B"}},
        {"empty list", std::string("\0\0", 2), {}},
        {"stops at the empty name", std::string("A\0\0B\0\0", 6), {"A"}},
        {"last name without its NUL", std::string("A\0BC", 4), {"A", "BC"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitSectionNames(c.buffer.data(), static_cast<uint32_t>(c.buffer.size())), c.expected);
    }
    EXPECT_TRUE(SplitSectionNames(nullptr, 10).empty());
}

TEST(PreviewList, LoadKeepsSectionOrderAndEmptyTextsForMissingKeys) {
    FakeProfiles host;
    host.files["R:\\Previews\\Movies\\Movies.ini"] = {
        {"Zeta", {{"Name", "Sista filmen"}, {"File", "z.avi"}}},
        {"Alpha", {{"File", "a.avi"}}},
        {"Mid", {{"Name", "Utan fil"}}},
        {"Long", {{"Name", std::string(80, 'n')}, {"File", std::string(70, 'f')}}},
    };
    PreviewList list(host);
    ASSERT_TRUE(list.Load("Movies.ini", "R:\\Previews\\Movies"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Sista filmen|z.avi", "|a.avi", "Utan fil|",
                                                     std::string(59, 'n') + "|" + std::string(59, 'f')}));
    EXPECT_EQ(list.entries[2]->EntryPath(), "R:\\Previews\\Movies\\");
    EXPECT_EQ(list.iniName, "Movies.ini");
}

TEST(PreviewList, LoadFailsWithoutSections) {
    FakeProfiles host;
    host.files["R:\\Previews\\Demos\\Demos.ini"] = {};
    PreviewList list(host);
    EXPECT_FALSE(list.Load("Demos.ini", "R:\\Previews\\Demos"));
    EXPECT_FALSE(list.Load("Missing.ini", "R:\\Previews\\Demos"));
    EXPECT_FALSE(list.Load(nullptr, "R:\\Previews\\Demos"));
    EXPECT_TRUE(list.entries.empty());
}

TEST(PreviewList, EmptyFolderIsTheCurrentFolder) {
    FakeProfiles host;
    host.files["C:\\Games\\Velk\\Demos.ini"] = {{"One", {{"Name", "Demo"}, {"File", "d.dem"}}}};
    PreviewList list(host);
    ASSERT_TRUE(list.Load("Demos.ini", ""));
    EXPECT_EQ(list.folder, "C:\\Games\\Velk");
    EXPECT_EQ(list.entries[0]->EntryPath(), "C:\\Games\\Velk\\d.dem");
}

// More sections than the name buffer holds: the ones that fit are read; the
// cut piece of the last name, which names no section, gives no blank line.
TEST(PreviewList, OverlongSectionListKeepsWholeNamesOnly) {
    FakeProfiles host;
    auto& sections = host.files["R:\\Many.ini"];
    for (int i = 0; i < 200; ++i) {
        std::string name = "Section" + std::to_string(i);
        sections.push_back({name, {{"Name", "Film " + std::to_string(i)}, {"File", name + ".avi"}}});
    }
    PreviewList list(host);
    ASSERT_TRUE(list.Load("Many.ini", "R:\\"));
    ASSERT_FALSE(list.entries.empty());
    EXPECT_LT(list.entries.size(), sections.size());
    for (const auto& e : list.entries) EXPECT_FALSE(e->name.empty()) << e->file;
    EXPECT_EQ(list.entries.back()->name, "Film " + std::to_string(list.entries.size() - 1));
}

TEST(PreviewList, AddEntryLaunchHoldsAndClear) {
    FakeProfiles host;
    PreviewList list(host);
    list.folder = "S:\\Previews\\Demos";
    EXPECT_EQ(list.AddEntry(nullptr, "x.dem"), nullptr);
    EXPECT_EQ(list.AddEntry("Demo", nullptr), nullptr);
    PreviewEntry* entry = list.AddEntry("Demo", "x.dem");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->folder, "S:\\Previews\\Demos");
    EXPECT_TRUE(list.Holds(entry));
    PreviewEntry stranger;
    EXPECT_FALSE(list.Holds(&stranger));
    EXPECT_FALSE(list.Holds(nullptr));

    EXPECT_TRUE(entry->Launch(host));
    host.shellSucceeds = false;
    EXPECT_FALSE(entry->Launch(host));
    EXPECT_EQ(host.opened, (std::vector<std::string>{"S:\\Previews\\Demos\\x.dem", "S:\\Previews\\Demos\\x.dem"}));

    list.iniName = "Demos.ini";
    list.Clear();
    EXPECT_TRUE(list.entries.empty());
    EXPECT_TRUE(list.folder.empty());
    EXPECT_TRUE(list.iniName.empty());
}

}  // namespace
}  // namespace velk
