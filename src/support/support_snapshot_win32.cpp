#include "support/support.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/dialog_services.h"
#include "base/file_probe.h"
#include "base/file_search.h"
#include "base/registry_store.h"
#include "base/utf8.h"
#include "display/saved_choice.h"
#include "ids_strings.h"
#include "sound/mss_interface.h"

namespace velk {

namespace {

constexpr const wchar_t* kCommandFile = L"velkcmds.txt";
// More of the command file than any summary shows.
constexpr DWORD kCommandFileReadLimit = 1 << 20;

// A string-table text in UTF-8, whatever the ANSI code page; empty when the id has none.
std::string Utf8ResString(UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(LauncherModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? Utf8FromWide(text, static_cast<size_t>(length)) : std::string();
}

// Launcher

// The file version of the launcher's own version resource.
std::string LauncherVersion() {
    HINSTANCE instance = LauncherModule();
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
    return Utf8ResString(IDS_SUMMARY_UNKNOWN);
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
    if (!getVersion || getVersion(&info) != 0) return Utf8ResString(IDS_SUMMARY_UNKNOWN);
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
    const PathKind kind = ProbePath(path.c_str(), &entry.size);
    using Entry = SupportSnapshot::Entry;
    entry.kind = kind == PathKind::File ? Entry::File : kind == PathKind::Folder ? Entry::Folder : Entry::Missing;
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

void TakeGameData(const SupportSources& run, SupportSnapshot& snap) {
    // The archives of the engine's command line, in its order.
    const DiscFound& disc = run.disc;
    const std::string& shortName = run.texts.shortName;
    snap.archives.push_back(Look(disc.gameArchive, disc.gameArchive.empty() ? shortName + ".rez" : disc.gameArchive));
    snap.archives.push_back(Look(disc.soundArchive, disc.soundArchive.empty() ? "sound.rez" : disc.soundArchive));
    for (const char* suffix : {"2.rez", "dll.rez", "l.rez"})
        snap.archives.push_back(Look(shortName + suffix, shortName + suffix));
    snap.archives.push_back(Look("custom", "custom"));
    snap.dataDiscDrive = disc.drive;
    snap.autoexecPresent = FileExists(kEngineSettingsFile);
    snap.engineRuns = run.launch.engineRuns;
}

// Graphics

void TakeGraphics(const SupportSources& run, SupportSnapshot& snap) {
    const RendererList* renderers = run.display.renderers.get();
    std::vector<std::string> outsideCodePage;
    const std::vector<std::string> names =
        FindFilesByExtension(WideFromAnsi(RendererSearchPattern("")), &outsideCodePage);
    auto listName = [&snap](const std::string& utf8Name, bool outside) {
        SupportSnapshot::RendererEntry entry;
        entry.fileName = utf8Name;
        entry.outsideCodePage = outside;
        snap.renderers.push_back(entry);
    };
    if (renderers) {
        for (const ModuleReport& report : renderers->reports) {
            SupportSnapshot::RendererEntry entry;
            entry.fileName = Utf8FromAnsi(report.fileName);
            entry.examined = true;
            entry.outcome = report.outcome;
            if (const Renderer* renderer = renderers->FindRenderer(report.fileName)) {
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
    if (const Renderer* renderer = renderers ? renderers->currentRenderer : nullptr) {
        snap.chosenRenderer = Utf8FromAnsi(renderer->ListText());
        if (const DisplayCard* card = renderer->currentCard) {
            snap.chosenCard = Utf8FromAnsi(card->ListText());
            if (card->currentMode) snap.chosenMode = card->currentMode->label;
        }
    }
    bool confirmed = false;
    snap.displayConfirmed = !run.display.ConfirmedFragment(&confirmed).empty() && confirmed;
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

void TakeSound(const SoundSetup& sound, SupportSnapshot& snap) {
    snap.soundLibrary = Utf8FromWide(SoundLibraryPath());
    snap.sound = sound.choice;
    snap.sound.providerName = Utf8FromAnsi(sound.choice.providerName);
    snap.soundConfigured = sound.confirmed != 0;
    snap.soundSearch = sound.search;
    for (const SoundProviderRecord& provider : sound.providers) snap.soundProviders.push_back(Utf8FromAnsi(provider.name));
}

// Advanced options, engine and registry

void TakeRegistry(const SupportSources& run, SupportSnapshot& snap) {
    snap.registryKey = "HKEY_LOCAL_MACHINE\\Software\\Brannock\\" + Utf8FromAnsi(run.texts.registryProduct) + "\\1.0";
    const auto* registry = dynamic_cast<const RegistryStore*>(run.settings);
    if (!registry) return;
    // Only what the summary shows is read: thousands of large values cost no more than a few.
    size_t values = 0;
    auto shown = [&values, &run](const std::vector<std::string>& names) {
        values = names.size();
        return ShownRegistryValues(names, run.launcherValues);
    };
    for (RegistryStore::StoredValue& value : registry->ListValues(shown, kShownTextLength + 1)) {
        if (value.name == kCommandsValue && value.type == REG_SZ) {
            snap.savedCommandsPresent = true;
            snap.savedCommands = value.data;
            snap.savedCommandsSize = value.size;
        }
        snap.registry.push_back({std::move(value.name), value.type, std::move(value.data), value.size});
    }
    snap.registryNotRead = values > snap.registry.size() ? values - snap.registry.size() : 0;
}

void TakeAdvanced(const SupportSources& run, SupportSnapshot& snap) {
    const AdvancedChoice& advanced = run.advanced;
    snap.switches = advanced.switches;
    // What is stored, which this run's choice may not have saved.
    CommandLineSetting stored = advanced.commandLine;
    LoadCommandLineText(run.settings, &stored);
    snap.saveCommands = stored.saveCommands;
    snap.commandLineText = Utf8FromAnsi(advanced.commandLine.commandLineText);
    snap.alwaysLoadArchives = advanced.alwaysLoadArchives != 0;
    for (const std::string& name : advanced.archives) snap.chosenArchives.push_back(Look("Custom\\" + name, name));

    CommandLinePreview preview =
        PreviewEngineCommandLine(run.ForLaunch(), advanced.switches, advanced.commandLine.commandLineText);
    snap.engineCommandLine = Utf8FromAnsi(preview.line);
    snap.asksPerformanceLevel = preview.asksLevel;
    snap.commandFileState = ReadTextFile(kCommandFile, &snap.commandFile, &snap.commandFileError);
    snap.engineRunning = IsEngineRunningHere();
}

}  // namespace

SummaryWords LoadSummaryWords() {
    SummaryWords words;
    for (const SummaryWordId& id : SummaryWordIds()) words.*id.word = Utf8ResString(id.stringId);
    return words;
}

SupportSnapshot TakeSupportSnapshot(const SupportSources& run) {
    // The probes below reach the disc drive and every folder on PATH: an empty
    // drive or an offline share must not bring up a system box.
    ScopedErrorMode quiet(kNoSystemBoxes);
    SupportSnapshot snap;
    snap.version = LauncherVersion();
    snap.launcherPath = Utf8FromWide(ModulePathW());
    snap.gameFolder = Utf8FromWide(CurrentFolder());
    snap.commandLine = Utf8FromAnsi(run.launcherCommandLine);
    snap.windowsVersion = WindowsVersion();
    snap.wineVersion = WineVersion();
    snap.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    snap.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    WindowDC screen(nullptr);
    if (screen) snap.colourDepth = GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
    TakeGameData(run, snap);
    TakeGraphics(run, snap);
    TakeSound(run.sound, snap);
    TakeRegistry(run, snap);
    TakeAdvanced(run, snap);
    snap.settingsReset = run.support.settingsReset;
    snap.resetNotDeleted = run.support.resetNotDeleted;
    return snap;
}

void ResetPlayerChoices(const SupportSources& run) {
    std::vector<std::string>& notDeleted = run.support.resetNotDeleted;
    notDeleted.clear();
    run.advanced.Forget(run.settings, notDeleted);
    run.sound.Forget(run.settings, notDeleted);
    run.display.result = 0;
    // As the box "Återställ standardvärden": the engine's default configuration and the performance question.
    run.advanced.switches.restoreDefaults = 1;
    run.support.settingsReset = true;
}

}  // namespace velk
