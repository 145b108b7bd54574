#include <gtest/gtest.h>

#include <map>
#include <set>

#include "disc/disc_search.h"

namespace velk {
namespace {

// Drives and files as a table; records which drives were asked about.
class FakeDrives final : public DriveProbe {
public:
    std::set<char> cdroms;
    std::set<std::string> files;
    std::string queried;

    bool IsCdRomDrive(char letter) override {
        queried += letter;
        return cdroms.count(letter) > 0;
    }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
};

const std::string kMarker = "\\DATA\\VELK.REZ";

TEST(FindDataDisc, HintNamingTheDiscIsTheOnlyDriveQueried) {
    FakeDrives drives;
    drives.cdroms = {'D', 'E'};
    drives.files = {"D:\\DATA\\VELK.REZ", "E:\\DATA\\VELK.REZ"};
    char remembered = 0;
    EXPECT_EQ(FindDataDisc(remembered, "D:\\", kMarker, drives), 'D');
    EXPECT_EQ(drives.queried, "D");
    EXPECT_EQ(remembered, 'D');
}

TEST(FindDataDisc, SearchOrderAndHints) {
    struct Case {
        const char* name;
        const char* hint;
        std::set<char> cdroms;
        std::set<std::string> files;
        char expected;
        std::string queried;
    };
    const std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const Case cases[] = {
        {"no hint, two discs: the earlier letter", nullptr, {'F', 'E'}, {"E:\\DATA\\VELK.REZ", "F:\\DATA\\VELK.REZ"}, 'E', "ABCDE"},
        {"hint names a hard disk", "C", {'E'}, {"C:\\DATA\\VELK.REZ", "E:\\DATA\\VELK.REZ"}, 'E', "CABCDE"},
        {"hint drive holds another disc", "D", {'D', 'G'}, {"G:\\DATA\\VELK.REZ"}, 'G', "DABCDEFG"},
        {"lower-case hint used as stored", "e", {'e', 'E'}, {"e:\\DATA\\VELK.REZ"}, 'e', "e"},
        {"empty hint skipped", "", {'E'}, {"E:\\DATA\\VELK.REZ"}, 'E', "ABCDE"},
        {"control character skipped", "\x14", {'E'}, {"E:\\DATA\\VELK.REZ"}, 'E', "ABCDE"},
        {"code 21 is a hint", "\x15", {'E'}, {"E:\\DATA\\VELK.REZ"}, 'E', "\x15" "ABCDE"},
        {"high-bit character skipped", "\xC4", {'E'}, {"E:\\DATA\\VELK.REZ"}, 'E', "ABCDE"},
        {"no disc anywhere", "D", {'D'}, {}, 0, "D" + all},
        {"marker on a non-CD drive does not count", nullptr, {}, {"C:\\DATA\\VELK.REZ"}, 0, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDrives drives;
        drives.cdroms = c.cdroms;
        drives.files = c.files;
        char remembered = 0;
        EXPECT_EQ(FindDataDisc(remembered, c.hint, kMarker, drives), c.expected);
        EXPECT_EQ(drives.queried, c.queried);
        EXPECT_EQ(remembered, c.expected);
    }
}

TEST(FindDataDisc, RememberedLetterAnswersWithoutTouchingDrives) {
    FakeDrives drives;  // the disc has been taken out
    char remembered = 'E';
    EXPECT_EQ(FindDataDisc(remembered, "D", kMarker, drives), 'E');
    EXPECT_EQ(drives.queried, "");
}

class FakeFiles final : public ArchiveProbe {
public:
    std::set<std::string> files, folders;
    bool IsFile(const std::string& p) override { return files.count(p) > 0; }
    bool IsFolder(const std::string& p) override { return folders.count(p) > 0; }
};

TEST(LocateArchiveCandidates, FirstMatchWins) {
    struct Case {
        const char* name;
        std::set<std::string> files, folders;
        char drive;
        const char* game;
        const char* sound;
    };
    const Case cases[] = {
        {"file beats folder", {"VELK.rez", "sound.rez"}, {"VELK", "sound"}, 'D', "VELK.rez", "sound.rez"},
        {"folder when no file", {}, {"VELK", "sound"}, 0, "VELK", "sound"},
        {"a folder named VELK.rez is not the file", {}, {"VELK.rez"}, 0, "", ""},
        {"the disc's data folder", {"D:\\data\\VELK.rez"}, {}, 'D', "D:\\data\\VELK.rez", ""},
        {"no drive: the disc is not looked at", {"D:\\data\\VELK.rez"}, {}, 0, "", ""},
        {"sound folder only without sound.rez", {"sound.rez"}, {"sound"}, 0, "", "sound.rez"},
        {"a file named sound is not the folder", {"sound"}, {}, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFiles probe;
        probe.files = c.files;
        probe.folders = c.folders;
        ArchiveLocations found = LocateArchiveCandidates("VELK", c.drive, probe);
        EXPECT_EQ(found.gameArchive, c.game);
        EXPECT_EQ(found.soundArchive, c.sound);
        EXPECT_EQ(found.BothFound(), *c.game && *c.sound);
    }
}

}  // namespace
}  // namespace velk
