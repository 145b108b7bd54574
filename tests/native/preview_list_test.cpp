#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "disc/preview_list.h"

namespace velk {
namespace {

// Profile files as tables of sections in file order. The section-name list is
// cut short as the system cuts it: the last name loses its end and its NUL.
class FakeProfiles final : public PreviewHost {
public:
    using Section = std::pair<std::string, std::map<std::string, std::string>>;
    std::map<std::string, std::vector<Section>> files;

    std::string current = "C:\\Games\\Velk";  // empty: too long to read
    std::string CurrentFolder(uint32_t) override { return current; }
    uint32_t SectionNames(const std::string& profile, char* buffer, uint32_t capacity) override {
        std::string names;
        for (const Section& s : files[profile]) names += s.first + '\0';
        uint32_t length = names.size() + 2 <= capacity ? static_cast<uint32_t>(names.size()) : capacity - 2;
        std::memcpy(buffer, names.data(), length);
        buffer[length] = buffer[length + 1] = '\0';
        return length;
    }
    std::string ReadText(const std::string& profile, const std::string& section, const char* key,
                         uint32_t) override {
        for (const Section& s : files[profile])
            if (s.first == section) return s.second.count(key) ? s.second.at(key) : "";
        return "";
    }
    bool OpenWithShell(const std::string&) override { return true; }
};

std::vector<std::string> Entries(const PreviewList& list) {
    std::vector<std::string> texts;
    for (const auto& e : list.entries) texts.push_back(e->name + "|" + e->EntryPath());
    return texts;
}

TEST(PreviewPaths, EntryAndProfilePaths) {
    const std::string cases[][4] = {  // folder, file, entry path, profile path
        {"R:\\Previews\\Movies", "a.avi", "R:\\Previews\\Movies\\a.avi", "R:\\Previews\\Movies\\a.avi"},
        {"R:\\", "a.avi", "R:\\a.avi", "R:\\a.avi"},
        {"", "a.avi", "\\a.avi", "a.avi"},
        {"R:\\Previews\\Demos", "", "R:\\Previews\\Demos\\", "R:\\Previews\\Demos\\"},
    };
    for (const auto& c : cases) {
        PreviewEntry entry;
        entry.folder = c[0];
        entry.file = c[1];
        EXPECT_EQ(entry.EntryPath(), c[2]);
        EXPECT_EQ(ProfilePath(c[0], c[1]), c[3]);
    }
}

TEST(PreviewList, LoadKeepsSectionOrderMissingKeysAndTheCurrentFolder) {
    FakeProfiles host;
    host.files["C:\\Games\\Velk\\Movies.ini"] = {
        {"Zeta", {{"Name", "Sist"}, {"File", "z.avi"}}}, {"Alpha", {{"File", "a.avi"}}}, {"Mid", {{"Name", "Utan fil"}}}};
    host.files["R:\\Empty.ini"] = {};
    PreviewList list(host);
    ASSERT_TRUE(list.Load("Movies.ini", ""));
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"Sist|C:\\Games\\Velk\\z.avi", "|C:\\Games\\Velk\\a.avi",
                                                       "Utan fil|C:\\Games\\Velk\\"}));
    list.Clear();
    host.files["Movies.ini"] = host.files["C:\\Games\\Velk\\Movies.ini"];
    host.current = "";
    EXPECT_FALSE(list.Load("Movies.ini", ""));
    EXPECT_FALSE(list.Load("Empty.ini", "R:\\"));
    EXPECT_FALSE(list.Load("Missing.ini", "R:\\"));
    EXPECT_FALSE(list.Load(nullptr, "R:\\"));
    EXPECT_TRUE(list.entries.empty());
}

// The names that fit are read; the cut piece of the last one, which names no
// section, gives no blank line.
TEST(PreviewList, OverlongSectionListKeepsWholeNamesOnly) {
    FakeProfiles host;
    auto& sections = host.files["R:\\Many.ini"];
    for (int i = 0; i < 200; ++i)
        sections.push_back({"Section" + std::to_string(i), {{"Name", "Film " + std::to_string(i)}}});
    PreviewList list(host);
    ASSERT_TRUE(list.Load("Many.ini", "R:\\"));
    ASSERT_EQ(list.entries.size(), 102u);  // Section0 ... Section101 fill 1012 of 1018 characters
    EXPECT_EQ(list.entries.back()->name, "Film 101");

    // A first name too long for the list leaves only its cut piece: no previews.
    host.files["R:\\Long.ini"] = {{std::string(3000, 'L'), {{"Name", "Lång"}}}, {"Short", {{"Name", "Kort"}}}};
    PreviewList longFirst(host);
    EXPECT_FALSE(longFirst.Load("Long.ini", "R:\\"));
    EXPECT_TRUE(longFirst.entries.empty());
}

}  // namespace
}  // namespace velk
