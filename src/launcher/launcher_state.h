// The one process-wide record of the launcher. Every field exists for the
// whole run and starts at zero or empty unless a start value is given.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

#include "advanced/switches.h"
#include "base/settings_store.h"
#include "disc/preview_list.h"
#include "display/renderer_list.h"
#include "image/dib.h"
#include "launcher/title_links.h"

namespace velk {

// The engine switches (disableSound ... restoreDefaults) and the saved
// command-line text (saveCommands, commandLineText) are the advanced options'
// fields, kept in their own records so the command-line code can take them.
struct LauncherState : EngineSwitches, CommandLineSetting {
    HINSTANCE instance = nullptr;
    std::string launcherCommandLine;  // the launcher's own, passed on to the engine

    // Resource strings loaded at start-up.
    std::string gameTitle;          // 9
    std::string registryProduct;    // 58
    std::string discMarkerFile;     // 59
    std::string shortName;          // 62
    std::string setupProgram;       // 61
    std::string titlePictureCount;  // 63
    std::string windowTitle;        // 57
    std::string language;           // 84

    std::unique_ptr<SettingsStore> settings;
    std::string discRoot;  // "D:\" or empty

    int32_t displayWarned = 0;
    int32_t launcherRuns = 0;
    int32_t lastRandom = 1;
    std::string updateCommandLine;
    std::string contentCommandLine;
    int32_t engineRuns = 0;

    HCURSOR linkCursor = nullptr;
    HCURSOR linkPressedCursor = nullptr;
    HCURSOR arrowCursor = nullptr;
    std::string titlePictureName;

    // Performance level of this run.
    int32_t performanceLevelChosen = 0;
    int32_t performanceLevel = 0;

    // Data disc and archives, once looked for.
    bool gameDataLocated = false;
    char dataDiscDrive = 0;
    std::string gameArchive;
    std::string soundArchive;

    // 3D sound choice.
    int32_t soundConfigured = 0;
    int32_t soundProviderKind = 0;
    std::string soundProviderName;
    uint32_t sound3DSamples = 16;
    uint32_t sound2DSamples = 32;
    int32_t soundReverb = 100;

    // Extra resource archives.
    std::vector<std::string> customArchives;
    int32_t alwaysLoadArchives = 0;

    // Help and card notes: the entry last shown.
    int32_t noteSelection = 0;

    // Title window: the picture and its palette, made afresh at each showing.
    std::unique_ptr<DibManager> titleImages;
    DibPalette* titlePalette = nullptr;  // owned by titleImages
    Dib* titleDib = nullptr;             // owned by titleImages
    int32_t appActive = 0;
    LinkRect linkRects[3];

    // Display choice: the renderer list, made on the first use of the display
    // button, and the result of the last display dialog (1 OK, 0 Cancel).
    std::unique_ptr<RendererList> renderers;
    int32_t displayResult = 0;

    // Movie and demo previews, only while the previews dialog runs.
    std::unique_ptr<PreviewList> moviesList;
    std::unique_ptr<PreviewList> demosList;
};

// The launcher's state for this process.
LauncherState& State();
// Back to start values (used between tests in one process).
void ResetState();

}  // namespace velk
