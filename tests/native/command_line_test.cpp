#include <gtest/gtest.h>

#include "advanced/switches.h"
#include "launch/command_line.h"
#include "memory_store.h"

#include <map>

namespace velk {
namespace {

EngineCommandInputs WorkedExample() {
    EngineCommandInputs in;
    in.windowTitle = "Velkarion";
    in.gameArchive = "VELK.rez";
    in.soundArchive = "sound.rez";
    in.shortName = "VELK";
    in.switchFragment = BuildSwitchFragment(EngineSwitches());
    in.performanceLevelChosen = true;
    in.performanceLevel = 1;
    return in;
}

const std::string kWorkedExample =
    "TALVEX.EXE -windowtitle \"Velkarion\" -rez VELK.rez -rez sound.rez -rez VELK2.rez -rez VELKdll.rez "
    "-rez VELKl.rez -rez custom +multiplayer 0  +DisableMusic 0 +DisableSound 0 +DisableTripBuf 0 "
    "+DisableHardwareCursor 0 ++PerformanceLevel 1  ";

TEST(EngineCommandLine, WorkedExample) { EXPECT_EQ(BuildEngineCommandLine(WorkedExample()), kWorkedExample); }

TEST(EngineCommandLine, RowsAndTheirConditions) {
    const std::string head = "TALVEX.EXE -windowtitle \"Velkarion\" -rez VELK.rez";
    struct Case {
        const char* name;
        void (*change)(EngineCommandInputs&);
        std::string expected;
    };
    const Case cases[] = {
        {"no sound archive: row 4 left out",
         [](EngineCommandInputs& in) { in.soundArchive.clear(); },
         head + " -rez VELK2.rez -rez VELKdll.rez -rez VELKl.rez -rez custom +multiplayer 0"},
        {"multiplayer differs only in row 11",
         [](EngineCommandInputs& in) { in.multiplayer = true; },
         head + " -rez sound.rez -rez VELK2.rez -rez VELKdll.rez -rez VELKl.rez -rez custom +multiplayer 1"},
        {"registry command lines after the archives",
         [](EngineCommandInputs& in) {
             in.updateCommandLine = "+upd 1";
             in.contentCommandLine = "+cnt 2";
         },
         head + " -rez sound.rez -rez VELK2.rez -rez VELKdll.rez -rez VELKl.rez -rez custom +upd 1 +cnt 2 +multiplayer 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EngineCommandInputs in = WorkedExample();
        in.switchFragment.clear();
        in.performanceLevelChosen = false;
        c.change(in);
        EXPECT_EQ(BuildEngineCommandLine(in), c.expected + "  ");
    }
}

TEST(EngineCommandLine, FragmentOrderAndSeparators) {
    EngineCommandInputs in = WorkedExample();
    in.soundArchive.clear();
    in.switchFragment = " +S";
    in.displayConfirmed = true;
    in.displayFragment = "+D";
    in.soundFragment = "+3D";
    in.archiveFragment = " -rez custom\\a.rez";
    in.performanceLevel = 2;
    in.launcherCommandLine = "-GOGAME";
    in.commandLineText = "+x 100%";
    const std::string tail = " +multiplayer 0  +S +D +3D -rez custom\\a.rez ++PerformanceLevel 2 -GOGAME +x 100%";
    EXPECT_EQ(BuildEngineCommandLine(in).substr(BuildEngineCommandLine(in).size() - tail.size()), tail);

    in.displayConfirmed = false;  // the last display dialog was cancelled
    EXPECT_EQ(BuildEngineCommandLine(in).find("+D"), std::string::npos);
    in.displayConfirmed = true;
    in.displayFragment.clear();
    EXPECT_EQ(BuildEngineCommandLine(in).find("  +3D"), std::string::npos);
}

TEST(EngineCommandLine, ControlCharactersOfStoredTextsBecomeBlanks) {
    EngineCommandInputs in = WorkedExample();
    in.updateCommandLine = "+u 1\r\n+v 2";
    in.commandLineText = "+first 1\r\n+second 2\x1a+third\t3\x7f";
    const std::string line = BuildEngineCommandLine(in);
    EXPECT_NE(line.find(" +u 1  +v 2 "), std::string::npos) << line;
    const std::string tail = " +first 1  +second 2 +third 3 ";
    ASSERT_GT(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
}

TEST(EngineCommandLine, PerformanceQuestion) {
    EXPECT_TRUE(NeedsPerformanceLevel(0, 5, 0));
    EXPECT_TRUE(NeedsPerformanceLevel(3, 0, 0));
    EXPECT_TRUE(NeedsPerformanceLevel(-1, 5, 0));
    EXPECT_TRUE(NeedsPerformanceLevel(3, 5, 1));
    EXPECT_FALSE(NeedsPerformanceLevel(3, 5, 0));
}

TEST(SwitchFragment, Table) {
    EngineSwitches all;
    all.disableSound = all.disableMusic = all.disableMovies = all.disableFog = all.disableJoystick = 1;
    all.disableTripBuf = all.disableCursor = all.disableLoadscreen = all.restoreDefaults = 1;
    EngineSwitches loadOnly;
    loadOnly.disableLoadscreen = 1;
    EngineSwitches soundOnly;
    soundOnly.disableSound = 1;
    struct Case {
        EngineSwitches s;
        const char* expected;
    };
    const Case cases[] = {
        {EngineSwitches(), " +DisableMusic 0 +DisableSound 0 +DisableTripBuf 0 +DisableHardwareCursor 0"},
        {all,
         " +DisableMusic 1 +DisableSound 1 +DisableMovies 1 +DisableFog 1 +DisableJoystick 1 +DisableTripBuf 1"
         " +DisableHardwareCursor 1 +DynamicLoadScreen 0 -config defaults.cfg"},
        {loadOnly, " +DisableMusic 0 +DisableSound 0 +DisableTripBuf 0 +DisableHardwareCursor 0 +DynamicLoadScreen 0"},
        {soundOnly, " +DisableMusic 0 +DisableSound 1 +DisableTripBuf 0 +DisableHardwareCursor 0"},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildSwitchFragment(c.s), c.expected);
}

TEST(LoadCommandLineText, SavedTextRules) {
    struct Case {
        const char* name;
        bool hasSave;
        int32_t save;
        const char* commands;  // nullptr: absent
        int32_t expectedSave;
        std::string expectedText;
    };
    const std::string longest(254, 'a');  // the longest text OK stores
    const std::string tooLong(255, 'a');
    const Case cases[] = {
        {"nothing stored: save defaults to 1, text empty", false, 0, nullptr, 1, ""},
        {"saved text is used", true, 1, "+a 1", 1, "+a 1"},
        {"not saved: stored text is ignored", true, 0, "+a 1", 0, ""},
        {"254 characters fit", true, 1, longest.c_str(), 1, longest},
        {"255 characters are too long", true, 1, tooLong.c_str(), 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStore store;
        if (c.hasSave) store.numbers["Save Commands"] = c.save;
        if (c.commands) store.texts["Commands"] = c.commands;
        CommandLineSetting setting;
        LoadCommandLineText(&store, &setting);
        EXPECT_EQ(setting.saveCommands, c.expectedSave);
        EXPECT_EQ(setting.commandLineText, c.expectedText);
    }
    CommandLineSetting untouched;
    untouched.saveCommands = 7;
    LoadCommandLineText(nullptr, &untouched);
    EXPECT_EQ(untouched.saveCommands, 7);
}

}  // namespace
}  // namespace velk
