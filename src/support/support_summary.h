// The troubleshooting summary: what is set and what this run found, as plain
// text a player can hand to someone who helps. The Win32 side fills a
// snapshot; the text is built here without any system call.
//
// Every text in the snapshot and the summary is UTF-8, so that the labels of
// the build's language and values from the registry or the file system, in
// whatever code page, travel in one text; the window shows it as UTF-16.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "advanced/switches.h"
#include "display/renderer_list.h"
#include "sound/sound_providers.h"

namespace velk {

// Registry value types as the registry numbers them.
enum RegistryType : uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
    kRegQword = 11,
};

struct SupportSnapshot {
    // A file or folder as the engine or the launcher would take it.
    struct Entry {
        std::string name;
        enum Kind { Missing, File, Folder } kind = Missing;
        uint64_t size = 0;
    };
    struct RendererEntry {
        std::string fileName;
        bool examined = false;  // the renderer search ran in this run
        ModuleOutcome outcome = ModuleOutcome::NotLoaded;
        size_t cards = 0;
        size_t modes = 0;
        bool outsideCodePage = false;  // its name has no ANSI form: it cannot be offered
    };
    struct RegistryValue {
        std::string name;
        uint32_t type = kRegNone;
        std::string data;  // texts already in UTF-8 without their terminating NUL; other types raw bytes
        uint64_t size = 0;  // the whole data's length when `data` holds only its start
    };

    // Launcher.
    std::string version;
    std::string launcherPath;
    std::string gameFolder;
    std::string commandLine;

    // System.
    std::string windowsVersion;
    std::string wineVersion;  // empty: not under Wine
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    int32_t colourDepth = 0;

    // Game data.
    std::vector<Entry> archives;  // in the engine's order; the game archive first
    char dataDiscDrive = 0;
    bool autoexecPresent = false;
    int32_t engineRuns = 0;

    // Graphics.
    std::vector<RendererEntry> renderers;
    std::string savedRenderDll, savedCardDesc, savedMode;  // from autoexec.cfg, empty when not there
    std::string chosenRenderer, chosenCard, chosenMode;    // this run's current choice
    bool displayConfirmed = false;                         // it reaches the engine

    // 3D sound.
    std::string soundLibrary;  // where it was found; empty: missing
    SoundChoice sound;         // the provider's name in UTF-8
    bool soundConfigured = false;  // confirmed in this run: it reaches the engine
    using SoundSearch = velk::SoundSearch;
    SoundSearch soundSearch = SoundSearch::NotSearched;
    std::vector<std::string> soundProviders;

    // Advanced options.
    EngineSwitches switches;
    int32_t saveCommands = 1;
    bool savedCommandsPresent = false;
    std::string savedCommands;
    uint64_t savedCommandsSize = 0;  // when savedCommands holds only its start
    std::string commandLineText;  // this run's
    bool alwaysLoadArchives = false;
    std::vector<Entry> chosenArchives;  // each looked for in "Custom"

    // Engine.
    std::string engineCommandLine;
    bool asksPerformanceLevel = false;
    enum class FileState { Missing, Read, Folder, Locked, Unreadable } commandFileState = FileState::Missing;
    std::string commandFile;        // as read
    uint32_t commandFileError = 0;  // the system's error code when it is unreadable
    bool engineRunning = false;

    // Registry.
    std::string registryKey;
    std::vector<RegistryValue> registry;  // in the order shown
    size_t registryNotRead = 0;           // further values under the key

    bool settingsReset = false;                // the player reset the settings in this run
    std::vector<std::string> resetNotDeleted;  // values the reset could not delete
};

// The words of the summary in the build's language, each from the string
// table (UTF-8). "%s" in a word stands for a value, filled in the order given.
struct SummaryWords {
    std::string title, resetDone, resetIncomplete;
    std::string launcherHeading, systemHeading, gameDataHeading, graphicsHeading, soundHeading, advancedHeading,
        engineHeading, registryHeading;
    // Launcher, system and game data.
    std::string version, launcherPath, gameFolder, commandLine, screen, screenMode;
    std::string archive, dataDisc, notFound, present, missing, fileOfSize, folderPresent, engineRuns;
    // Graphics, and what became of each renderer module.
    std::string rendererModules, noRendererModules, noneSet, savedRenderer, savedCard, savedMode, chosenRenderer,
        chosenCard, chosenMode, reachesEngine;
    std::string outsideCodePage, notExamined, offeredNoModes, offered, notLoaded, noExports, faulted, noList,
        unknownOutcome;
    // 3D sound.
    std::string soundLibrary, foundAt, provider, voices, voiceCounts, reverb, search, notSearched, searchFailed,
        providersFound, foundProvider;
    // Advanced options: the boxes, as the help list names them, then the command line and rez files.
    std::string disableSound, disableMusic, disableMovies, disableFog, disableJoystick, disableTripBuf,
        disableCursor, disableLoadscreen, restoreDefaults;
    std::string saveCommands, savedCommands, noSavedCommands, commandLineNow, alwaysLoadArchives, chosenArchives,
        none;
    // Engine.
    std::string commandLineAtStart, asksPerformance, engineRunning, commandFileFolder, commandFileLocked,
        commandFileUnreadable, commandFileMissing;
    // Registry values, and words for any value.
    std::string registryKey, values, defaultValue, valuesNotShown, wrongSize, otherType, emptyData, cut;
    std::string yes, no, unknown;
};

// Where each word is in the string table.
struct SummaryWordId {
    std::string SummaryWords::*word;
    unsigned stringId;
};
const std::vector<SummaryWordId>& SummaryWordIds();

// Values whose text is longer are shown up to here and marked as cut.
constexpr size_t kShownTextLength = 1024;
constexpr size_t kShownBinaryBytes = 64;
constexpr size_t kShownRegistryValues = 200;

// The whole summary, one "name: value" line per fact under a heading per
// subject; lines end in CR LF, as a Windows text field and file want them.
std::string BuildSupportSummary(const SupportSnapshot& snapshot, const SummaryWords& words);

// A text made safe to show on one line: control characters (C0, DEL and C1),
// line and paragraph separators and bidirectional controls become \xNN for
// each of their bytes, and so does a backslash that would read as the start
// of such an escape. A text longer than `limit` bytes is cut (never inside a
// character) and says so, as is one whose `wholeSize` tells that it is only
// the start, in the words given.
std::string ShownText(const std::string& text, const SummaryWords& words, size_t limit = kShownTextLength,
                      uint64_t wholeSize = 0);

// Which of the values under the key the summary shows, given their names in
// the registry's order: the launcher's own values first (in the order of
// `ownNames`, names in any letter case), then the others in the registry's
// order, kShownRegistryValues at most. Their positions, in the order shown.
std::vector<size_t> ShownRegistryValues(const std::vector<std::string>& names, const std::vector<const char*>& ownNames);

}  // namespace velk
