// What the troubleshooting summary finds, taken in a game folder of the test's own.
#include <gtest/gtest.h>

#include <cstring>

#include "base/utf8.h"
#include "launcher/launcher_run.h"
#include "scratch_settings.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;
using FileState = SupportSnapshot::FileState;

constexpr const char* kSnapshotTop = "VelkSupportTest";
const std::string kSnapshotKey = std::string(kSnapshotTop) + "\\Brannock\\Velkarion\\1.0";

// A store that cannot delete "Disable Fog" and notes the error mode each read meets.
struct WatchingStore final : SettingsStore {
    std::vector<UINT> modes;
    void Note() { modes.push_back(SetErrorMode(0)), SetErrorMode(modes.back()); }
    int32_t ReadDword(const char*, int32_t defaultValue) override { return Note(), defaultValue; }
    char* ReadString(const char*, char*, uint32_t& size, const char*) override { return Note(), size = 0, nullptr; }
    bool WriteDword(const char*, int32_t) override { return true; }
    bool WriteString(const char*, const char*) override { return true; }
    bool DeleteValue(const char* name) override { return std::strcmp(name, "Disable Fog") != 0; }
};

class SupportSnapshotTest : public ::testing::Test {
protected:
    ScratchKey scratch_{kSnapshotTop, HKEY_LOCAL_MACHINE};
    TempFolder game_;
    ScopedCurrentFolder inGame_{game_.path()};
    LauncherRun run_;
    SupportSnapshot TakeSupportSnapshot() { return velk::TakeSupportSnapshot(run_.ForSupport()); }
};

// A renderer module by such a name is never offered: the summary says why.
TEST_F(SupportSnapshotTest, SoundLibraryIsFoundWholeInFoldersOutsideTheCodePageAndDeep) {
    // The ANSI form of "spel-ā" is "spel-a", which holds a library of its own.
    ASSERT_TRUE(MakeFolder(game_ / "spel-a"));
    ASSERT_TRUE(WriteFileText(game_ / "spel-a\\mss32.dll", "elsewhere"));
    const std::wstring top = velk::WideFromUtf8(game_ / "spel-\xc4\x81");
    std::wstring deep = top;
    while (deep.size() < 300) deep += L"\\\x03c0\x03b1\x03b9\x03c7\x03bd\x03af\x03b4\x03b9";
    for (const std::wstring& folder : {top, deep}) {
        SCOPED_TRACE(folder.size());
        ASSERT_TRUE(MakeFolder(folder));
        const std::wstring library = folder + L"\\mss32.dll";
        for (const std::wstring& file : {library, folder + L"\\grafik-\x0101.ren"})
            ASSERT_TRUE(FileHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
        ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
        const SupportSnapshot snap = TakeSupportSnapshot();
        SetCurrentDirectoryA(game_.path().c_str());
        EXPECT_EQ(snap.soundLibrary, velk::Utf8FromWide(library));
        ASSERT_EQ(snap.renderers.size(), 1u);
        EXPECT_TRUE(snap.renderers[0].outsideCodePage && snap.renderers[0].fileName == "grafik-\xc4\x81.ren");
    }
    EXPECT_TRUE(RemoveTree(top));
}

// Every probe runs with the system's boxes off, and the reset says what it could not delete.
TEST_F(SupportSnapshotTest, NoSystemBoxWhileProbingAndAResetThatFailedSaysSo) {
    auto* watched = new WatchingStore;
    run_.settings.reset(watched);
    const UINT before = SetErrorMode(0);
    ResetPlayerChoices(run_.ForSupport());
    watched->modes.clear();
    const std::string summary = BuildSupportSummary(TakeSupportSnapshot(), LoadSummaryWords());
    EXPECT_EQ(SetErrorMode(before), 0u) << "the error mode was not put back";
    ASSERT_FALSE(watched->modes.empty());
    for (UINT mode : watched->modes) EXPECT_EQ(mode, UINT(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    EXPECT_NE(summary.find("kunde inte ta bort \"Disable Fog\" ur registret."), std::string::npos) << summary;
}

TEST_F(SupportSnapshotTest, CommandFileSaysWhatKeepsItFromBeingRead) {
    const std::string path = game_ / "velkcmds.txt";
    EXPECT_EQ(TakeSupportSnapshot().commandFileState, FileState::Missing);
    ASSERT_TRUE(WriteFileText(path, "TALVEX.EXE +windowed 1"));
    const SupportSnapshot read = TakeSupportSnapshot();
    EXPECT_EQ(read.commandFileState, FileState::Read);
    EXPECT_EQ(read.commandFile, "TALVEX.EXE +windowed 1");
    {
        FileHandle held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(TakeSupportSnapshot().commandFileState, FileState::Locked);
    }
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(MakeFolder(path));
    EXPECT_EQ(TakeSupportSnapshot().commandFileState, FileState::Folder);
}

TEST_F(SupportSnapshotTest, TheLaunchersOwnValuesComeFirstAndOnlyWhatIsShownIsKept) {
    ASSERT_TRUE(UseScratchSettings(kSnapshotTop, run_.settings));
    const std::string large(20000, 'v');
    for (int i = 1000; i < 1300; ++i)  // named in the order made, whichever order the registry lists
        ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kSnapshotKey, ("Extra " + std::to_string(i)).c_str(), REG_SZ, large.c_str(),
                             static_cast<DWORD>(large.size() + 1)));
    // The launcher's own values last, one of them in another letter case.
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kSnapshotKey, "LANGUAGE", REG_SZ, "Swedish", 8));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kSnapshotKey, "Num Launcher Runs", REG_DWORD, "\4\0\0\0", 4));
    const SupportSnapshot snap = TakeSupportSnapshot();
    ASSERT_EQ(snap.registry.size(), kShownRegistryValues);
    EXPECT_EQ(snap.registry[0].name + "|" + snap.registry[1].name + "|" + snap.registry[2].name + "|" +
                  snap.registry.back().name,
              "Num Launcher Runs|LANGUAGE|Extra 1000|Extra 1197");
    EXPECT_EQ(snap.registry[2].size, large.size());
    EXPECT_EQ(snap.registryNotRead, 302u - kShownRegistryValues);
    for (const SupportSnapshot::RegistryValue& v : snap.registry)
        EXPECT_LE(v.data.size(), kShownTextLength + 1) << v.name;
}

}  // namespace
}  // namespace velk
