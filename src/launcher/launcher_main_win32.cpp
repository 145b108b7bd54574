#include <windows.h>
#include <cstdio>
#include <cstdlib>

#include "base/dialog_services.h"
#include "base/file_probe.h"
#include "base/multimedia.h"
#include "base/registry_store.h"
#include "base/settings_lines.h"
#include "base/win32_handles.h"
#include "launcher/launcher.h"
#include "launcher/launcher_run.h"
#include "launcher/startup_rules.h"
#include "launcher/title_window.h"
#include "ids_strings.h"

namespace velk {

namespace {

// Dialog results of the title window that the loop acts on.
enum TitleResult { kTitleLeave = 0, kTitlePlay = 1, kTitleSetup = 2, kTitleMultiplayer = 5 };

// One launcher of this game at a time in the player's session, whatever its
// folder: every launcher writes the same machine-wide settings back. Of
// launchers started together exactly one creates the mutex; counting running
// launchers instead let each count the other and all of them end.
constexpr const wchar_t* kOneLauncherMutex = L"Local\\Brannock.Velkarion.1.0.Launcher";

// True when another launcher holds the mutex; `own` keeps ours for the run.
bool AnotherLauncherRuns(KernelHandle* own) {
    SetLastError(ERROR_SUCCESS);
    own->reset(CreateMutexW(nullptr, FALSE, kOneLauncherMutex));
    const DWORD error = GetLastError();
    // Refused: one started by another account of this session holds it.
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

GameTexts LoadGameTexts() {
    GameTexts texts;
    texts.gameTitle = LoadResString(IDS_GAME_TITLE);
    texts.registryProduct = LoadResString(IDS_REGISTRY_PRODUCT);
    texts.discMarkerFile = LoadResString(IDS_DISC_MARKER);
    texts.shortName = LoadResString(IDS_SHORT_NAME);
    texts.setupProgram = LoadResString(IDS_SETUP_PROGRAM);
    texts.titlePictureCount = LoadResString(IDS_TITLE_PICTURE_COUNT);
    texts.windowTitle = LoadResString(IDS_WINDOW_TITLE);
    texts.language = LoadResString(IDS_LANGUAGE);
    return texts;
}

// titlePictureName and lastRandom.
void ChooseTitlePicture(LauncherRun& run) {
    const int32_t count = TitlePictureCount(run.texts.titlePictureCount);
    if (count == 1) {
        run.titlePictureName = "GAME1";
        return;
    }
    // Seeded only when a number is drawn: nothing else uses the generator.
    srand(MultimediaTime());
    int32_t index = ChooseTitlePictureIndex(count, run.lastRandom, [] { return rand(); });
    run.titlePictureName = TitlePictureName(index);
    run.lastRandom = index;
}

void RunTitleLoop(LauncherRun& run, LauncherSwitches requests) {
    for (;;) {
        int result;
        if (requests.multiplayer)
            result = kTitleMultiplayer;
        else if (requests.play)
            result = kTitlePlay;
        else
            result = ShowTitleWindow(run);
        requests = LauncherSwitches();  // the switches act on the first pass only
        // The title window did, unless a switch skipped it.
        LocateGameData(run.disc, run.texts, run.settings.get());

        switch (result) {
        case kTitlePlay:
            if (LaunchEngine(run.ForLaunch(), false)) return;
            break;
        case kTitleMultiplayer:
            if (LaunchEngine(run.ForLaunch(), true)) return;
            break;
        case kTitleSetup:
            if (RunSetup(run.disc.root, run.texts.setupProgram)) return;
            ShowGameError(nullptr, IDS_SETUP_FAILED, MB_ICONHAND);
            break;
        default:
            return;
        }
    }
}

}  // namespace

bool ReadEngineRunCount(const char* fileName, int32_t* runs) {
    if (!fileName || !FileExists(fileName)) return false;
    FILE* file = fopen(fileName, "rb");
    if (!file) return false;
    std::string value = "0";
    std::string line;
    while (ReadSettingsLine(file, &line)) {
        if (ParseNumRunsLine(line.c_str(), &value)) break;
    }
    fclose(file);
    *runs = LeadingInteger(value);
    return true;
}

int LauncherMain(HINSTANCE instance, const char* commandLine) {
    SetLauncherModule(instance);
    KernelHandle ownMutex;  // held until the run below has ended
    LauncherRun run;
    run.commandLine = commandLine ? commandLine : "";
    if (AnotherLauncherRuns(&ownMutex)) return 0;

    run.texts = LoadGameTexts();
    SetGameTitle(run.texts.gameTitle);

    if (IsEngineRunningHere()) {
        ShowGameError(nullptr, IDS_ENGINE_RUNNING, MB_ICONINFORMATION);
        return 0;
    }

    auto store = std::make_unique<RegistryStore>();
    if (!store->Open("Brannock", run.texts.registryProduct.c_str(), "1.0", nullptr, HKEY_LOCAL_MACHINE)) return 0;
    run.settings = std::move(store);

    run.LoadSavedValues();
    ReadEngineRunCount("autoexec.cfg", &run.launch.engineRuns);

    const LauncherSwitches requests = ParseLauncherSwitches(run.commandLine.c_str());
    ChooseTitlePicture(run);

    RunTitleLoop(run, requests);

    run.WriteBack();
    return 1;
}

}  // namespace velk
