// The data-disc search and archive location against real drives of the test
// prefix: R: and S: are CD-ROM drives, T: a hard disk (scripts/wine-env.sh).
#include <gtest/gtest.h>

#include "base/file_probe.h"
#include "disc/data_disc.h"
#include "scratch_settings.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;

constexpr const char* kDiscTop = "VelkDiscTest";

class DataDiscTest : public ::testing::Test {
protected:
    ScratchKey scratch_{kDiscTop, HKEY_LOCAL_MACHINE};
    GameTexts texts_;
    DiscFound disc_;
    std::unique_ptr<SettingsStore> settings_;

    void SetUp() override {
        texts_.discMarkerFile = "\\DATA\\VELK.REZ";
        texts_.shortName = "VELK";
        EjectDisc('R');
        EjectDisc('S');
        EjectDisc('T');
    }
    void TearDown() override {
        EjectDisc('R');
        EjectDisc('S');
        EjectDisc('T');
    }
    void OpenSettingsWithHint(const char* hint) {
        ASSERT_TRUE(UseScratchSettings(kDiscTop, settings_));
        if (hint) {
            ASSERT_TRUE(settings_->WriteString("CdRom Drive", hint));
        }
    }
    char DataDiscDrive() { return velk::DataDiscDrive(disc_, texts_, settings_.get()); }
};

TEST_F(DataDiscTest, DrivesOfThePrefixHaveTheirTypes) {
    EXPECT_EQ(GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_EQ(GetDriveTypeA("S:\\"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_EQ(GetDriveTypeA("T:\\"), static_cast<UINT>(DRIVE_FIXED));
}

TEST_F(DataDiscTest, FileAndFolderTests) {
    TempFolder dir;
    ASSERT_TRUE(WriteFileText(dir / "VELK.rez", "x"));
    ASSERT_TRUE(MakeFolder(dir / "sound"));
    EXPECT_TRUE(FileExists((dir / "VELK.rez").c_str()));
    EXPECT_FALSE(FileExists((dir / "nope.rez").c_str()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(FileExists((dir / "sound").c_str()));  // a folder is no file
    // Deeper than an existence-only open reaches (128 characters), by full and by relative path.
    const std::string deep = dir / (std::string(70, 'd') + "\\" + std::string(70, 'e'));
    ASSERT_TRUE(MakeFolder(deep));
    ASSERT_TRUE(WriteFileText(deep + "\\autoexec.cfg", "x"));
    EXPECT_TRUE(FileExists((deep + "\\autoexec.cfg").c_str()));
    {
        ScopedCurrentFolder inDeep(deep);
        EXPECT_TRUE(FileExists("autoexec.cfg"));
    }
    EXPECT_TRUE(FileExists((dir / "VELK.rez").c_str()));
    EXPECT_FALSE(FolderExists((dir / "VELK.rez").c_str()));
    EXPECT_TRUE(FolderExists((dir / "sound").c_str()));
    EXPECT_FALSE(FileExists((dir / "sound").c_str()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FolderExists(nullptr));
}

TEST_F(DataDiscTest, HintFindsItsDrive) {
    const char* hints[] = {"S", "S:\\", "s"};
    for (const char* hint : hints) {
        SCOPED_TRACE(hint);
        disc_ = DiscFound();
        InsertDataDisc('R');
        InsertDataDisc('S');
        OpenSettingsWithHint(hint);
        // The hint letter is used as stored, lower case included.
        EXPECT_EQ(DataDiscDrive(), hint[0]);
        EXPECT_EQ(disc_.drive, hint[0]);
    }
}

TEST_F(DataDiscTest, BadHintsFallBackToTheSearch) {
    InsertDataDisc('S');
    // T: is a hard disk that carries the marker; R: is a CD-ROM drive with another disc.
    MakeFolder(DriveFolder('T') + "\\DATA");
    WriteFileText(DriveFolder('T') + "\\DATA\\VELK.REZ", "not a disc");
    MakeFolder(DriveFolder('R') + "\\OTHER");
    for (const char* hint : {"T", "R", "", "\x10"}) {
        SCOPED_TRACE(testing::Message() << "hint " << static_cast<int>(hint[0]));
        disc_.drive = 0;
        OpenSettingsWithHint(hint);
        EXPECT_EQ(DataDiscDrive(), 'S');
    }
}

TEST_F(DataDiscTest, TwoDiscsAndNoHintTheEarlierLetterWins) {
    InsertDataDisc('S');
    InsertDataDisc('R');
    OpenSettingsWithHint(nullptr);
    EXPECT_EQ(DataDiscDrive(), 'R');
}

TEST_F(DataDiscTest, NoStoreStillSearches) {
    InsertDataDisc('S');
    EXPECT_EQ(DataDiscDrive(), 'S');
}

TEST_F(DataDiscTest, LetterIsRememberedAfterTheDiscIsTakenOut) {
    InsertDataDisc('R');
    EXPECT_EQ(DataDiscDrive(), 'R');
    EjectDisc('R');
    InsertDataDisc('S');
    EXPECT_EQ(DataDiscDrive(), 'R');
    EXPECT_EQ(TestDrive(disc_, texts_, 'R'), 0);  // the drive itself no longer holds it
}

TEST_F(DataDiscTest, NoDiscGivesZero) {
    EXPECT_EQ(DataDiscDrive(), 0);
    EXPECT_EQ(disc_.drive, 0);
}

TEST_F(DataDiscTest, ArchivesInTheGameFolderAndOnTheDisc) {
    struct Case {
        const char* name;
        std::vector<std::string> files, folders;
        char drive;
        std::string game, sound;
        bool both;
    };
    const std::string onDisc = "R:\\data\\VELK.rez";
    const Case cases[] = {
        {"file beats folder", {"VELK.rez", "sound.rez"}, {"VELK", "sound"}, 0, "VELK.rez", "sound.rez", true},
        {"folders", {}, {"VELK", "sound"}, 0, "VELK", "sound", true},
        {"a folder named VELK.rez is not the file", {}, {"VELK.rez"}, 0, "", "", false},
        {"the disc's data folder", {}, {"sound"}, 'R', onDisc, "sound", true},
        {"sound.rez beats the sound folder", {"sound.rez"}, {"sound"}, 'R', onDisc, "sound.rez", true},
        {"nothing anywhere", {}, {}, 0, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder game;
        for (const auto& f : c.files) ASSERT_TRUE(WriteFileText(game / f, "rez"));
        for (const auto& f : c.folders) ASSERT_TRUE(MakeFolder(game / f));
        EjectDisc('R');
        if (c.drive) {
            MakeFolder(DriveFolder('R') + "\\data");
            WriteFileText(DriveFolder('R') + "\\data\\VELK.rez", "rez");
        }
        ScopedCurrentFolder inGame(game.path());
        EXPECT_EQ(LocateArchives(disc_, texts_, c.drive), c.both);
        EXPECT_EQ(disc_.gameArchive, c.game);
        EXPECT_EQ(disc_.soundArchive, c.sound);
    }
}

}  // namespace
}  // namespace velk
