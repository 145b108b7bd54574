#include "launcher/support.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/file_search.h"
#include "base/registry_store.h"
#include "base/utf8.h"
#include "base/win32_handles.h"
#include "display/renderer_list.h"
#include "display/saved_choice.h"
#include "launch/launch_engine.h"
#include "launcher/launcher.h"
#include "launcher/launcher_state.h"
#include "sound/mss_interface.h"
#include "sound/sound_detection.h"
#include "sound/sound_win32.h"

namespace velk {

namespace {

constexpr const char* kEngineSettingsFile = "autoexec.cfg";
constexpr const wchar_t* kCommandFile = L"velkcmds.txt";
// More of the command file than any summary shows.
constexpr DWORD kCommandFileReadLimit = 1 << 20;

bool resetThisRun = false;
std::vector<std::string> resetNotDeleted;

// Launcher

// The file version of the launcher's own version resource.
std::string LauncherVersion() {
    HINSTANCE instance = State().instance;
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD size = data ? SizeofResource(instance, found) : 0;
    // The fixed part starts with its signature on a 4-byte boundary.
    for (DWORD at = 0; at + 16 <= size; at += 4) {
        DWORD fields[4];
        std::memcpy(fields, data + at, sizeof(fields));
        if (fields[0] != 0xFEEF04BD) continue;
        char text[48];
        snprintf(text, sizeof(text), "%lu.%lu.%lu.%lu", fields[2] >> 16, fields[2] & 0xFFFF, fields[3] >> 16,
                 fields[3] & 0xFFFF);
        return text;
    }
    return "okänd";
}

std::wstring ModulePathW() {
    std::vector<wchar_t> path(32768);
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return std::wstring(path.data(), length < path.size() ? length : 0);
}

// System

template <typename Fn>
Fn NtdllExport(const char* name) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(ntdll, name))) : nullptr;
}

// GetVersionEx answers what the program's manifest lets it see; this does not.
std::string WindowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto getVersion = NtdllExport<RtlGetVersionFn>("RtlGetVersion");
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!getVersion || getVersion(&info) != 0) return "okänd";
    char text[64];
    snprintf(text, sizeof(text), "%lu.%lu (build %lu)", info.dwMajorVersion, info.dwMinorVersion,
             info.dwBuildNumber);
    std::string servicePack = Utf8FromWide(info.szCSDVersion, wcsnlen(info.szCSDVersion, 128));
    return servicePack.empty() ? text : std::string(text) + " " + servicePack;
}

std::string WineVersion() {
    using WineGetVersionFn = const char*(CDECL*)(void);
    auto getVersion = NtdllExport<WineGetVersionFn>("wine_get_version");
    const char* version = getVersion ? getVersion() : nullptr;
    return version ? Utf8FromAnsi(version) : std::string();
}

// Files

SupportSnapshot::Entry Look(const std::string& path, const std::string& shownName) {
    SupportSnapshot::Entry entry;
    entry.name = Utf8FromAnsi(shownName);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return entry;
    entry.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? SupportSnapshot::Entry::Folder
                                                                    : SupportSnapshot::Entry::File;
    entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return entry;
}

using FileState = SupportSnapshot::FileState;

FileState CannotRead(DWORD error, uint32_t* errorCode) {
    *errorCode = error;
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? FileState::Locked
                                                                             : FileState::Unreadable;
}

// The file's text, or what keeps it from being read: a file that is missing
// reads differently from a folder of that name or one another program holds.
FileState ReadTextFile(const wchar_t* path, std::string* text, uint32_t* error) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD why = GetLastError();
        if (why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND) return FileState::Missing;
        return CannotRead(why, error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileState::Folder;
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return CannotRead(GetLastError(), error);
    std::string bytes(kCommandFileReadLimit, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), &bytes[0], kCommandFileReadLimit, &read, nullptr))
        return CannotRead(GetLastError(), error);
    bytes.resize(read);
    *text = Utf8FromAnsi(bytes);
    return FileState::Read;
}

void TakeGameData(const LauncherState& s, SupportSnapshot& snap) {
    // The archives of the engine's command line, in its order.
    snap.archives.push_back(Look(s.gameArchive, s.gameArchive.empty() ? s.shortName + ".rez" : s.gameArchive));
    snap.archives.push_back(Look(s.soundArchive, s.soundArchive.empty() ? "sound.rez" : s.soundArchive));
    for (const char* suffix : {"2.rez", "dll.rez", "l.rez"})
        snap.archives.push_back(Look(s.shortName + suffix, s.shortName + suffix));
    snap.archives.push_back(Look("custom", "custom"));
    snap.dataDiscDrive = s.dataDiscDrive;
    snap.autoexecPresent = Look(kEngineSettingsFile, kEngineSettingsFile).kind == SupportSnapshot::Entry::File;
    snap.engineRuns = s.engineRuns;
}

// Graphics

void TakeGraphics(const LauncherState& s, SupportSnapshot& snap) {
    std::vector<std::string> outsideCodePage;
    const std::vector<std::string> names =
        FindFilesByExtension(WideFromAnsi(RendererSearchPattern("")), &outsideCodePage);
    auto listName = [&snap](const std::string& utf8Name, bool outside) {
        SupportSnapshot::RendererEntry entry;
        entry.fileName = utf8Name;
        entry.outsideCodePage = outside;
        snap.renderers.push_back(entry);
    };
    if (s.renderers) {
        for (const ModuleReport& report : s.renderers->reports) {
            SupportSnapshot::RendererEntry entry;
            entry.fileName = Utf8FromAnsi(report.fileName);
            entry.examined = true;
            entry.outcome = report.outcome;
            if (const Renderer* renderer = s.renderers->FindRenderer(report.fileName)) {
                entry.cards = renderer->cards.size();
                for (const auto& card : renderer->cards) entry.modes += card->modes.size();
            }
            snap.renderers.push_back(entry);
        }
    } else {
        // Only the names until the player asks: loading the modules takes time and runs their code.
        for (const std::string& name : names) listName(Utf8FromAnsi(name), false);
    }
    // The search hands these on to nobody: neither the player nor the engine could name them.
    for (const std::string& name : outsideCodePage) listName(name, true);
    using Key = SavedDisplayChoice;
    SavedDisplayChoice saved;
    if (ReadSavedDisplayChoice(kEngineSettingsFile, &saved)) {
        if (saved.seen[Key::kRenderDll]) snap.savedRenderDll = Utf8FromAnsi(saved.values[Key::kRenderDll]);
        if (saved.seen[Key::kCardDesc]) snap.savedCardDesc = Utf8FromAnsi(saved.values[Key::kCardDesc]);
        if (saved.seen[Key::kScreenWidth] || saved.seen[Key::kScreenHeight] || saved.seen[Key::kBitDepth])
            snap.savedMode = Utf8FromAnsi(saved.values[Key::kScreenWidth] + " x " + saved.values[Key::kScreenHeight] +
                                          " x " + saved.values[Key::kBitDepth]);
    }
    if (const Renderer* renderer = s.renderers ? s.renderers->currentRenderer : nullptr) {
        snap.chosenRenderer = Utf8FromAnsi(renderer->ListText());
        if (const DisplayCard* card = renderer->currentCard) {
            snap.chosenCard = Utf8FromAnsi(card->ListText());
            if (card->currentMode) snap.chosenMode = card->currentMode->label;
        }
    }
    bool confirmed = false;
    snap.displayConfirmed = !BuildDisplayFragmentForLaunch(&confirmed).empty() && confirmed;
}

// Sound

// Where the system's search finds the sound library, whole; empty when it finds none.
std::wstring SoundLibraryPath() {
    const std::wstring name = WideFromAnsi(mss::kLibraryName);
    std::vector<wchar_t> found(MAX_PATH);
    // Asked again with the room the answer needs (a path can also grow meanwhile).
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length =
            SearchPathW(nullptr, name.c_str(), nullptr, static_cast<DWORD>(found.size()), found.data(), nullptr);
        if (length == 0) return std::wstring();
        if (length < found.size()) return std::wstring(found.data(), length);
        found.resize(length);
    }
    return std::wstring();
}

void TakeSound(const LauncherState& s, SupportSnapshot& snap) {
    snap.soundLibrary = Utf8FromWide(SoundLibraryPath());
    snap.soundProviderKind = s.soundProviderKind;
    snap.soundProviderName = Utf8FromAnsi(s.soundProviderName);
    snap.sound3DSamples = s.sound3DSamples;
    snap.sound2DSamples = s.sound2DSamples;
    snap.soundReverb = s.soundReverb;
    snap.soundConfigured = s.soundConfigured != 0;
    using Search = SupportSnapshot::SoundSearch;
    switch (LastSoundSearch()) {
    case SoundSearch::NotSearched:
        snap.soundSearch = Search::NotSearched;
        break;
    case SoundSearch::Failed:
        snap.soundSearch = Search::Failed;
        break;
    case SoundSearch::Done:
        snap.soundSearch = Search::Done;
        break;
    }
    for (const SoundProviderRecord& provider : SoundProviders())
        snap.soundProviders.push_back(Utf8FromAnsi(provider.name));
}

// Advanced options, engine and registry

void TakeRegistry(const LauncherState& s, SupportSnapshot& snap) {
    snap.registryKey = "HKEY_LOCAL_MACHINE\\Software\\Brannock\\" + Utf8FromAnsi(s.registryProduct) + "\\1.0";
    const auto* registry = dynamic_cast<const RegistryStore*>(s.settings.get());
    if (!registry) return;
    // Only what the summary shows is read: thousands of large values cost no more than a few.
    size_t values = 0;
    auto shown = [&values](const std::vector<std::string>& names) {
        values = names.size();
        return ShownRegistryValues(names);
    };
    for (RegistryStore::StoredValue& value : registry->ListValues(shown, kShownTextLength + 1)) {
        if (value.name == "Commands" && value.type == REG_SZ) {
            snap.savedCommandsPresent = true;
            snap.savedCommands = value.data;
            snap.savedCommandsSize = value.size;
        }
        snap.registry.push_back({std::move(value.name), value.type, std::move(value.data), value.size});
    }
    snap.registryNotRead = values > snap.registry.size() ? values - snap.registry.size() : 0;
}

void TakeAdvanced(LauncherState& s, SupportSnapshot& snap) {
    snap.switches = s;
    snap.saveCommands = s.settings ? s.settings->ReadDword("Save Commands", 1) : s.saveCommands;
    snap.commandLineText = Utf8FromAnsi(s.commandLineText);
    snap.alwaysLoadArchives = s.alwaysLoadArchives != 0;
    for (const std::string& name : s.customArchives) snap.chosenArchives.push_back(Look("Custom\\" + name, name));

    CommandLinePreview preview = PreviewEngineCommandLine(s, s.commandLineText);
    snap.engineCommandLine = Utf8FromAnsi(preview.line);
    snap.asksPerformanceLevel = preview.asksLevel;
    snap.commandFileState = ReadTextFile(kCommandFile, &snap.commandFile, &snap.commandFileError);
    snap.engineRunning = IsEngineRunningHere();
}

}  // namespace

std::wstring GameFolderWide() {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return std::wstring();
    std::wstring folder(needed, L'\0');
    DWORD length = GetCurrentDirectoryW(needed, &folder[0]);
    folder.resize(length < needed ? length : 0);
    return folder;
}

SupportSnapshot TakeSupportSnapshot() {
    // The probes below reach the disc drive and every folder on PATH: an empty
    // drive or an offline share must not bring up a system box.
    ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    LauncherState& s = State();
    SupportSnapshot snap;
    snap.version = LauncherVersion();
    snap.launcherPath = Utf8FromWide(ModulePathW());
    snap.gameFolder = Utf8FromWide(GameFolderWide());
    snap.commandLine = Utf8FromAnsi(s.launcherCommandLine);
    snap.windowsVersion = WindowsVersion();
    snap.wineVersion = WineVersion();
    snap.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    snap.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    WindowDC screen(nullptr);
    if (screen) snap.colourDepth = GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
    TakeGameData(s, snap);
    TakeGraphics(s, snap);
    TakeSound(s, snap);
    TakeRegistry(s, snap);
    TakeAdvanced(s, snap);
    snap.settingsReset = resetThisRun;
    snap.resetNotDeleted = resetNotDeleted;
    return snap;
}

void ResetPlayerChoices() {
    LauncherState& s = State();
    resetNotDeleted.clear();
    if (s.settings)
        for (const char* name : kResetValueNames)
            if (!s.settings->DeleteValue(name)) resetNotDeleted.push_back(name);
    static_cast<EngineSwitches&>(s) = EngineSwitches();
    static_cast<CommandLineSetting&>(s) = CommandLineSetting();
    s.customArchives.clear();
    s.alwaysLoadArchives = 0;
    ResetSoundSettings();
    s.displayResult = 0;
    // As the box "Återställ standardvärden": the engine's default configuration and the performance question.
    s.restoreDefaults = 1;
    resetThisRun = true;
}

}  // namespace velk
