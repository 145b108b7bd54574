#include <windows.h>
#include <cstdio>
#include <cstdlib>

#include "advanced/custom_archives.h"
#include "advanced/switches.h"
#include "base/multimedia.h"
#include "base/registry_store.h"
#include "base/settings_lines.h"
#include "base/win32_handles.h"
#include "disc/data_disc.h"
#include "disc/previews.h"
#include "launch/launch_engine.h"
#include "launcher/launcher.h"
#include "launcher/launcher_state.h"
#include "launcher/startup_rules.h"
#include "launcher/support.h"
#include "launcher/title_window.h"
#include "sound/sound_detection.h"
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

void LoadResourceStrings(LauncherState& s) {
    s.gameTitle = LoadResString(IDS_GAME_TITLE);
    s.registryProduct = LoadResString(IDS_REGISTRY_PRODUCT);
    s.discMarkerFile = LoadResString(IDS_DISC_MARKER);
    s.shortName = LoadResString(IDS_SHORT_NAME);
    s.setupProgram = LoadResString(IDS_SETUP_PROGRAM);
    s.titlePictureCount = LoadResString(IDS_TITLE_PICTURE_COUNT);
    s.windowTitle = LoadResString(IDS_WINDOW_TITLE);
    s.language = LoadResString(IDS_LANGUAGE);
}

std::string ReadText(SettingsStore& settings, const char* name) {
    char buffer[256] = {};
    uint32_t size = sizeof(buffer);
    const char* text = settings.ReadString(name, buffer, size, nullptr);
    return text ? text : "";
}

void LoadSavedValues(LauncherState& s) {
    SettingsStore& settings = *s.settings;
    s.displayWarned = settings.ReadDword("Display Warned", 0);
    s.launcherRuns = settings.ReadDword("Num Launcher Runs", 0);
    s.lastRandom = settings.ReadDword("Last Random", s.lastRandom);
    s.disableSound = settings.ReadDword("Disable Sound", 0);
    s.disableMusic = settings.ReadDword("Disable Music", 0);
    s.disableMovies = settings.ReadDword("Disable Movies", 0);
    s.disableFog = settings.ReadDword("Disable Fog", 0);
    s.disableJoystick = settings.ReadDword("Disable Joystick", 0);
    s.disableTripBuf = settings.ReadDword("Disable TripBuf", 0);
    s.disableCursor = settings.ReadDword("Disable Cursor", 0);
    s.disableLoadscreen = settings.ReadDword("Disable Loadscreen", 0);
    s.updateCommandLine = ReadText(settings, "Update Command Line");
    s.contentCommandLine = ReadText(settings, "Content Command Line");
}

void LoadCursors(LauncherState& s) {
    s.linkCursor = LoadCursorA(s.instance, "WEBHAND");
    s.linkPressedCursor = LoadCursorA(s.instance, "WEBCLICK");
    s.arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
}

void WriteBack(LauncherState& s) {
    s.launcherRuns = NextLauncherRunCount(s.launcherRuns);
    SettingsStore& settings = *s.settings;
    settings.WriteDword("Display Warned", s.displayWarned);
    settings.WriteDword("Num Launcher Runs", s.launcherRuns);
    settings.WriteDword("Last Random", s.lastRandom);
    settings.WriteDword("Disable Sound", s.disableSound);
    settings.WriteDword("Disable Music", s.disableMusic);
    settings.WriteDword("Disable Movies", s.disableMovies);
    settings.WriteDword("Disable Fog", s.disableFog);
    settings.WriteDword("Disable Joystick", s.disableJoystick);
    settings.WriteDword("Disable TripBuf", s.disableTripBuf);
    settings.WriteDword("Disable Cursor", s.disableCursor);
    settings.WriteDword("Disable Loadscreen", s.disableLoadscreen);
    settings.WriteString("Language", s.language.c_str());
}

void Release(LauncherState& s) {
    if (s.titleImages) s.titleImages->ReleaseAll();
    s.titleImages.reset();
    s.settings.reset();  // closes the registry key chain
    ReleasePreviewLists();
    s.renderers.reset();
    ReleaseSoundProviders();
    s.titleDib = nullptr;
    s.titlePalette = nullptr;
}

void RunTitleLoop(const char* commandLine, LauncherSwitches requests) {
    for (;;) {
        int result;
        if (requests.multiplayer)
            result = kTitleMultiplayer;
        else if (requests.play)
            result = kTitlePlay;
        else
            result = ShowTitleWindow();
        requests = LauncherSwitches();  // the switches act on the first pass only
        LocateGameData();               // the title window did, unless a switch skipped it

        switch (result) {
        case kTitlePlay:
            if (LaunchEngine(commandLine, false)) return;
            break;
        case kTitleMultiplayer:
            if (LaunchEngine(commandLine, true)) return;
            break;
        case kTitleSetup:
            if (RunSetup()) return;
            ShowGameError(nullptr, IDS_SETUP_FAILED, MB_ICONHAND);
            break;
        default:
            return;
        }
    }
}

}  // namespace

void LocateGameData() {
    LauncherState& s = State();
    if (s.gameDataLocated) return;
    s.gameDataLocated = true;
    const char drive = DataDiscDrive();
    s.discRoot = drive ? std::string(1, drive) + ":\\" : std::string();
    // A found disc is remembered, so asking again would only search every
    // drive once more when there is none.
    LocateArchives(drive);
}

bool IsEngineRunningHere() {
    std::wstring engine = GameFolderWide();
    if (engine.empty()) return false;  // unknown: no engine of another folder is taken for ours
    if (engine.size() > 3) engine += L'\\';
    return IsProcessRunning((engine + L"TALVEX.EXE").c_str(), 1);
}

bool ReadEngineRunCount(const char* fileName) {
    if (!fileName || !FileExists(fileName)) return false;
    FILE* file = fopen(fileName, "rb");
    if (!file) return false;
    std::string value = "0";
    std::string line;
    while (ReadSettingsLine(file, &line)) {
        if (ParseNumRunsLine(line.c_str(), &value)) break;
    }
    fclose(file);
    State().engineRuns = LeadingInteger(value);
    return true;
}

void ChooseTitlePicture() {
    LauncherState& s = State();
    const int32_t count = TitlePictureCount(s.titlePictureCount);
    if (count == 1) {
        s.titlePictureName = "GAME1";
        return;
    }
    // Seeded only when a number is drawn: nothing else uses the generator.
    srand(MultimediaTime());
    int32_t index = ChooseTitlePictureIndex(count, s.lastRandom, [] { return rand(); });
    s.titlePictureName = TitlePictureName(index);
    s.lastRandom = index;
}

int LauncherMain(HINSTANCE instance, const char* commandLine) {
    LauncherState& s = State();
    s.instance = instance;
    if (!commandLine) commandLine = "";
    s.launcherCommandLine = commandLine;

    KernelHandle ownMutex;
    if (AnotherLauncherRuns(&ownMutex)) return 0;

    LoadResourceStrings(s);

    if (IsEngineRunningHere()) {
        ShowGameError(nullptr, IDS_ENGINE_RUNNING, MB_ICONINFORMATION);
        return 0;
    }

    auto store = std::make_unique<RegistryStore>();
    if (!store->Open("Brannock", s.registryProduct.c_str(), "1.0", nullptr, HKEY_LOCAL_MACHINE)) return 0;
    s.settings = std::move(store);

    LoadSavedValues(s);
    LoadSoundSettings(*s.settings);
    LoadCursors(s);
    LoadCommandLineText(s.settings.get(), &s);
    LoadArchiveList();
    ReadEngineRunCount("autoexec.cfg");

    const LauncherSwitches requests = ParseLauncherSwitches(commandLine);
    ChooseTitlePicture();

    RunTitleLoop(commandLine, requests);

    WriteBack(s);
    Release(s);
    return 1;
}

}  // namespace velk
