#include "support/support_summary.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <iterator>

#include "resources/ids_strings.h"

namespace velk {

namespace {

constexpr const char* kLineEnd = "\r\n";
// Values of a subject start in one column, after its longest name up to this width.
constexpr size_t kNameColumnLimit = 36;

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

size_t DisplayWidth(const std::string& text) {
    size_t width = 0;
    for (char c : text) width += IsContinuationByte(static_cast<unsigned char>(c)) ? 0 : 1;
    return width;
}

std::string Hex(unsigned value, int digits) {
    char text[16];
    snprintf(text, sizeof(text), "%0*X", digits, value);
    return text;
}

std::string Number(uint64_t value) { return std::to_string(value); }

// The length in bytes of the character at `at` when it changes how a line
// reads on screen or where it ends: a C1 control (U+0085 is a line end to
// many editors), a line or paragraph separator, or a bidirectional control
// (after U+202E the rest of the line reads right to left). 0 otherwise.
size_t LayoutControlLength(const std::string& text, size_t at, size_t end) {
    auto byte = [&](size_t i) { return at + i < end ? static_cast<unsigned char>(text[at + i]) : 0u; };
    if (byte(0) == 0xC2 && byte(1) >= 0x80 && byte(1) <= 0x9F) return 2;
    if (byte(0) == 0xD8 && byte(1) == 0x9C) return 2;  // U+061C, the Arabic letter mark
    if (byte(0) != 0xE2 || (byte(1) != 0x80 && byte(1) != 0x81) || !IsContinuationByte(byte(2))) return 0;
    const uint32_t code = 0x2000 | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    const bool control = code == 0x200E || code == 0x200F || (code >= 0x2028 && code <= 0x202E) ||
                         (code >= 0x2066 && code <= 0x2069);
    return control ? 3 : 0;
}

// The summary under construction: one heading per subject, whose lines are
// kept until the subject ends so that its values line up.
class Summary {
public:
    void Heading(const std::string& title) {
        Flush();
        if (!text_.empty()) text_ += kLineEnd;
        text_ += "[" + title + "]" + kLineEnd;
    }
    void Line(const std::string& name, const std::string& value) { lines_.push_back({name + ":", value, true}); }
    void Plain(const std::string& line) { lines_.push_back({line, "", false}); }
    std::string Take() {
        Flush();
        return std::move(text_);
    }

private:
    struct Pending {
        std::string name;
        std::string value;
        bool aligned;
    };
    void Flush() {
        size_t column = 0;
        for (const Pending& line : lines_)
            if (line.aligned) column = std::max(column, std::min(DisplayWidth(line.name), kNameColumnLimit));
        for (const Pending& line : lines_) {
            text_ += line.name;
            if (line.aligned) {
                const size_t width = DisplayWidth(line.name);
                text_ += std::string(width < column ? column - width + 1 : 1, ' ') + line.value;
            }
            text_ += kLineEnd;
        }
        lines_.clear();
    }

    std::vector<Pending> lines_;
    std::string text_;
};

// A word with each "%s" filled with the next value, in order ("%%" is a percent
// sign): the values keep their place in every language's word.
std::string Filled(const std::string& word, std::initializer_list<std::string> values) {
    std::string text;
    auto next = values.begin();
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            text += word[i];
        } else if (word[++i] == 's') {
            if (next != values.end()) text += *next++;
        } else {
            text += '%';
            if (word[i] != '%') text += word[i];
        }
    }
    return text;
}

std::string YesNo(const SummaryWords& w, bool yes) { return yes ? w.yes : w.no; }
std::string Quoted(const SummaryWords& w, const std::string& text, uint64_t wholeSize = 0) {
    return "\"" + ShownText(text, w, kShownTextLength, wholeSize) + "\"";
}

// The length of a value's whole data, also when only its start is at hand.
uint64_t WholeSize(const SupportSnapshot::RegistryValue& v) { return std::max<uint64_t>(v.size, v.data.size()); }

bool SameAsciiName(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

std::string EntryText(const SummaryWords& w, const SupportSnapshot::Entry& entry) {
    switch (entry.kind) {
    case SupportSnapshot::Entry::File:
        return Filled(w.fileOfSize, {Number(entry.size)});
    case SupportSnapshot::Entry::Folder:
        return w.folderPresent;
    default:
        return w.missing;
    }
}

std::string OutcomeText(const SummaryWords& w, const SupportSnapshot::RendererEntry& r) {
    if (r.outsideCodePage) return w.outsideCodePage;
    if (!r.examined) return w.notExamined;
    switch (r.outcome) {
    case ModuleOutcome::Offered:
        if (r.cards == 0) return w.offeredNoModes;
        return Filled(w.offered, {Number(r.cards), Number(r.modes)});
    case ModuleOutcome::NotLoaded:
        return w.notLoaded;
    case ModuleOutcome::NoExports:
        return w.noExports;
    case ModuleOutcome::Faulted:
        return w.faulted;
    case ModuleOutcome::NoList:
        return w.noList;
    }
    return w.unknownOutcome;
}

void AddLauncher(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.launcherHeading);
    out.Line(w.version, ShownText(s.version, w));
    out.Line(w.launcherPath, ShownText(s.launcherPath, w));
    out.Line(w.gameFolder, ShownText(s.gameFolder, w));
    out.Line(w.commandLine, Quoted(w, s.commandLine));
}

void AddSystem(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.systemHeading);
    out.Line("Windows", ShownText(s.windowsVersion, w));
    out.Line("Wine", s.wineVersion.empty() ? w.no : ShownText(s.wineVersion, w));
    out.Line(w.screen, Filled(w.screenMode, {Number(static_cast<uint32_t>(s.screenWidth)),
                                             Number(static_cast<uint32_t>(s.screenHeight)),
                                             Number(static_cast<uint32_t>(s.colourDepth))}));
}

void AddGameData(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.gameDataHeading);
    for (const SupportSnapshot::Entry& archive : s.archives)
        out.Line(Filled(w.archive, {ShownText(archive.name, w, 128)}), EntryText(w, archive));
    out.Line(w.dataDisc, s.dataDiscDrive ? std::string(1, s.dataDiscDrive) + ":" : w.notFound);
    out.Line("autoexec.cfg", s.autoexecPresent ? w.present : w.missing);
    out.Line(w.engineRuns, std::to_string(s.engineRuns));
}

void AddGraphics(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.graphicsHeading);
    if (s.renderers.empty()) out.Line(w.rendererModules, w.noRendererModules);
    for (const SupportSnapshot::RendererEntry& r : s.renderers)
        out.Line(ShownText(r.fileName, w, 128), OutcomeText(w, r));
    auto orNone = [&w](const std::string& text) { return text.empty() ? w.noneSet : ShownText(text, w); };
    out.Line(w.savedRenderer, orNone(s.savedRenderDll));
    out.Line(w.savedCard, orNone(s.savedCardDesc));
    out.Line(w.savedMode, orNone(s.savedMode));
    out.Line(w.chosenRenderer, orNone(s.chosenRenderer));
    out.Line(w.chosenCard, orNone(s.chosenCard));
    out.Line(w.chosenMode, orNone(s.chosenMode));
    out.Line(w.reachesEngine, YesNo(w, s.displayConfirmed));
}

void AddSound(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.soundHeading);
    out.Line(w.soundLibrary, s.soundLibrary.empty() ? w.missing : Filled(w.foundAt, {ShownText(s.soundLibrary, w)}));
    out.Line(w.provider, std::to_string(s.sound.providerKind) + ", " + Quoted(w, s.sound.providerName));
    out.Line(w.voices, Filled(w.voiceCounts, {Number(s.sound.samples3D), Number(s.sound.samples2D)}));
    out.Line(w.reverb, std::to_string(s.sound.reverb));
    out.Line(w.reachesEngine, YesNo(w, s.soundConfigured));
    using Search = SupportSnapshot::SoundSearch;
    if (s.soundSearch == Search::NotSearched) {
        out.Line(w.search, w.notSearched);
    } else if (s.soundSearch == Search::Failed) {
        out.Line(w.search, w.searchFailed);
    } else {
        out.Line(w.search, Filled(w.providersFound, {Number(s.soundProviders.size())}));
        for (const std::string& name : s.soundProviders) out.Line("  " + w.foundProvider, Quoted(w, name));
    }
}

void AddAdvanced(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.advancedHeading);
    struct Switch {
        std::string SummaryWords::*name;
        int32_t EngineSwitches::*field;
    };
    static const Switch kSwitches[] = {
        {&SummaryWords::disableSound, &EngineSwitches::disableSound},
        {&SummaryWords::disableMusic, &EngineSwitches::disableMusic},
        {&SummaryWords::disableMovies, &EngineSwitches::disableMovies},
        {&SummaryWords::disableFog, &EngineSwitches::disableFog},
        {&SummaryWords::disableJoystick, &EngineSwitches::disableJoystick},
        {&SummaryWords::disableTripBuf, &EngineSwitches::disableTripBuf},
        {&SummaryWords::disableCursor, &EngineSwitches::disableCursor},
        {&SummaryWords::disableLoadscreen, &EngineSwitches::disableLoadscreen},
        {&SummaryWords::restoreDefaults, &EngineSwitches::restoreDefaults},
    };
    for (const Switch& sw : kSwitches) out.Line(w.*sw.name, YesNo(w, s.switches.*sw.field != 0));
    out.Line(w.saveCommands, YesNo(w, s.saveCommands != 0));
    out.Line(w.savedCommands,
             s.savedCommandsPresent ? Quoted(w, s.savedCommands, s.savedCommandsSize) : w.noSavedCommands);
    out.Line(w.commandLineNow, Quoted(w, s.commandLineText));
    out.Line(w.alwaysLoadArchives, YesNo(w, s.alwaysLoadArchives));
    if (s.chosenArchives.empty()) out.Line(w.chosenArchives, w.none);
    for (const SupportSnapshot::Entry& archive : s.chosenArchives)
        out.Line("Custom\\" + ShownText(archive.name, w, 128), EntryText(w, archive));
}

std::string CommandFileText(const SupportSnapshot& s, const SummaryWords& w) {
    using State = SupportSnapshot::FileState;
    switch (s.commandFileState) {
    case State::Read:
        return Quoted(w, s.commandFile);
    case State::Folder:
        return w.commandFileFolder;
    case State::Locked:
        return w.commandFileLocked;
    case State::Unreadable:
        return Filled(w.commandFileUnreadable, {Number(s.commandFileError)});
    default:
        return w.commandFileMissing;
    }
}

void AddEngine(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.engineHeading);
    out.Line(w.commandLineAtStart, ShownText(s.engineCommandLine, w));
    out.Line(w.asksPerformance, YesNo(w, s.asksPerformanceLevel));
    out.Line("velkcmds.txt", CommandFileText(s, w));
    out.Line(w.engineRunning, YesNo(w, s.engineRunning));
}

// The mark after a text or data of which only the start is shown.
std::string CutMark(const SummaryWords& w, uint64_t wholeSize) {
    return " ... [" + Filled(w.cut, {Number(wholeSize)}) + "]";
}

std::string BinaryText(const SummaryWords& w, const std::string& data, uint64_t wholeSize) {
    std::string text;
    const size_t shown = std::min(data.size(), kShownBinaryBytes);
    for (size_t i = 0; i < shown; ++i) {
        if (i) text += ' ';
        text += Hex(static_cast<unsigned char>(data[i]), 2);
    }
    if (wholeSize > shown) text += CutMark(w, wholeSize);
    return text.empty() ? w.emptyData : text;
}

uint64_t LittleEndian(const std::string& data) {
    uint64_t value = 0;
    for (size_t i = data.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

std::string RegistryValueText(const SummaryWords& w, const SupportSnapshot::RegistryValue& v) {
    const uint64_t size = WholeSize(v);
    switch (v.type) {
    case kRegSz:
        return "REG_SZ " + Quoted(w, v.data, size);
    case kRegExpandSz:
        return "REG_EXPAND_SZ " + Quoted(w, v.data, size);
    case kRegMultiSz:
        return "REG_MULTI_SZ " + Quoted(w, v.data, size);
    case kRegDword:
        if (size != 4) return "REG_DWORD, " + w.wrongSize + ": " + BinaryText(w, v.data, size);
        return "REG_DWORD " + std::to_string(static_cast<int32_t>(LittleEndian(v.data))) + " (0x" +
               Hex(static_cast<unsigned>(LittleEndian(v.data)), 8) + ")";
    case kRegQword:
        if (size != 8) return "REG_QWORD, " + w.wrongSize + ": " + BinaryText(w, v.data, size);
        return "REG_QWORD " + Number(LittleEndian(v.data));
    case kRegBinary:
        return "REG_BINARY " + BinaryText(w, v.data, size);
    default:
        return Filled(w.otherType, {Number(v.type)}) + ": " + BinaryText(w, v.data, size);
    }
}

void AddRegistry(Summary& out, const SupportSnapshot& s, const SummaryWords& w) {
    out.Heading(w.registryHeading);
    out.Line(w.registryKey, ShownText(s.registryKey, w));
    if (s.registry.empty()) out.Line(w.values, w.none);
    const size_t shown = std::min(s.registry.size(), kShownRegistryValues);
    for (size_t i = 0; i < shown; ++i) {
        const SupportSnapshot::RegistryValue& v = s.registry[i];
        out.Line(v.name.empty() ? w.defaultValue : ShownText(v.name, w, 128), RegistryValueText(w, v));
    }
    const uint64_t hidden = s.registry.size() - shown + s.registryNotRead;
    if (hidden > 0) out.Plain("... [" + Filled(w.valuesNotShown, {Number(hidden)}) + "]");
}

}  // namespace

const std::vector<SummaryWordId>& SummaryWordIds() {
    static constexpr SummaryWordId kTable[] = {
        {&SummaryWords::title, IDS_SUMMARY_TITLE},
        {&SummaryWords::resetDone, IDS_SUMMARY_RESET_DONE},
        {&SummaryWords::resetIncomplete, IDS_SUMMARY_RESET_INCOMPLETE},
        {&SummaryWords::launcherHeading, IDS_SUMMARY_LAUNCHER},
        {&SummaryWords::systemHeading, IDS_SUMMARY_SYSTEM},
        {&SummaryWords::gameDataHeading, IDS_SUMMARY_GAME_DATA},
        {&SummaryWords::graphicsHeading, IDS_SUMMARY_GRAPHICS},
        {&SummaryWords::soundHeading, IDS_SUMMARY_SOUND},
        {&SummaryWords::advancedHeading, IDS_SUMMARY_ADVANCED},
        {&SummaryWords::engineHeading, IDS_SUMMARY_ENGINE},
        {&SummaryWords::registryHeading, IDS_SUMMARY_REGISTRY},
        {&SummaryWords::version, IDS_SUMMARY_VERSION},
        {&SummaryWords::launcherPath, IDS_SUMMARY_PATH},
        {&SummaryWords::gameFolder, IDS_SUMMARY_GAME_FOLDER},
        {&SummaryWords::commandLine, IDS_SUMMARY_COMMAND_LINE},
        {&SummaryWords::screen, IDS_SUMMARY_SCREEN},
        {&SummaryWords::screenMode, IDS_SUMMARY_SCREEN_MODE},
        {&SummaryWords::archive, IDS_SUMMARY_ARCHIVE},
        {&SummaryWords::dataDisc, IDS_SUMMARY_DATA_DISC},
        {&SummaryWords::notFound, IDS_SUMMARY_NOT_FOUND},
        {&SummaryWords::present, IDS_SUMMARY_PRESENT},
        {&SummaryWords::missing, IDS_SUMMARY_MISSING},
        {&SummaryWords::fileOfSize, IDS_SUMMARY_FILE_SIZE},
        {&SummaryWords::folderPresent, IDS_SUMMARY_FOLDER},
        {&SummaryWords::engineRuns, IDS_SUMMARY_ENGINE_RUNS},
        {&SummaryWords::rendererModules, IDS_SUMMARY_RENDERERS},
        {&SummaryWords::noRendererModules, IDS_SUMMARY_NO_RENDERERS},
        {&SummaryWords::noneSet, IDS_SUMMARY_NONE_SET},
        {&SummaryWords::savedRenderer, IDS_SUMMARY_SAVED_RENDERER},
        {&SummaryWords::savedCard, IDS_SUMMARY_SAVED_CARD},
        {&SummaryWords::savedMode, IDS_SUMMARY_SAVED_MODE},
        {&SummaryWords::chosenRenderer, IDS_SUMMARY_CHOSEN_RENDERER},
        {&SummaryWords::chosenCard, IDS_SUMMARY_CHOSEN_CARD},
        {&SummaryWords::chosenMode, IDS_SUMMARY_CHOSEN_MODE},
        {&SummaryWords::reachesEngine, IDS_SUMMARY_REACHES_ENGINE},
        {&SummaryWords::outsideCodePage, IDS_SUMMARY_OUTSIDE_CODE_PAGE},
        {&SummaryWords::notExamined, IDS_SUMMARY_NOT_EXAMINED},
        {&SummaryWords::offeredNoModes, IDS_SUMMARY_OFFERED_NO_MODES},
        {&SummaryWords::offered, IDS_SUMMARY_OFFERED},
        {&SummaryWords::notLoaded, IDS_SUMMARY_NOT_LOADED},
        {&SummaryWords::noExports, IDS_SUMMARY_NO_EXPORTS},
        {&SummaryWords::faulted, IDS_SUMMARY_FAULTED},
        {&SummaryWords::noList, IDS_SUMMARY_NO_LIST},
        {&SummaryWords::unknownOutcome, IDS_SUMMARY_UNKNOWN_OUTCOME},
        {&SummaryWords::soundLibrary, IDS_SUMMARY_SOUND_LIBRARY},
        {&SummaryWords::foundAt, IDS_SUMMARY_FOUND_AT},
        {&SummaryWords::provider, IDS_SUMMARY_PROVIDER},
        {&SummaryWords::voices, IDS_SUMMARY_VOICES},
        {&SummaryWords::voiceCounts, IDS_SUMMARY_VOICE_COUNTS},
        {&SummaryWords::reverb, IDS_SUMMARY_REVERB},
        {&SummaryWords::search, IDS_SUMMARY_SEARCH},
        {&SummaryWords::notSearched, IDS_SUMMARY_NOT_SEARCHED},
        {&SummaryWords::searchFailed, IDS_SUMMARY_SEARCH_FAILED},
        {&SummaryWords::providersFound, IDS_SUMMARY_PROVIDERS_FOUND},
        {&SummaryWords::foundProvider, IDS_SUMMARY_FOUND_PROVIDER},
        {&SummaryWords::saveCommands, IDS_SUMMARY_SAVE_COMMANDS},
        {&SummaryWords::savedCommands, IDS_SUMMARY_SAVED_COMMANDS},
        {&SummaryWords::noSavedCommands, IDS_SUMMARY_NO_SAVED_COMMANDS},
        {&SummaryWords::commandLineNow, IDS_SUMMARY_COMMAND_LINE_NOW},
        {&SummaryWords::alwaysLoadArchives, IDS_SUMMARY_ALWAYS_LOAD},
        {&SummaryWords::chosenArchives, IDS_SUMMARY_CHOSEN_ARCHIVES},
        {&SummaryWords::none, IDS_SUMMARY_NONE},
        {&SummaryWords::commandLineAtStart, IDS_SUMMARY_COMMAND_LINE_AT_START},
        {&SummaryWords::asksPerformance, IDS_SUMMARY_ASKS_PERFORMANCE},
        {&SummaryWords::engineRunning, IDS_SUMMARY_ENGINE_RUNNING},
        {&SummaryWords::commandFileFolder, IDS_SUMMARY_COMMAND_FILE_FOLDER},
        {&SummaryWords::commandFileLocked, IDS_SUMMARY_COMMAND_FILE_LOCKED},
        {&SummaryWords::commandFileUnreadable, IDS_SUMMARY_COMMAND_FILE_UNREADABLE},
        {&SummaryWords::commandFileMissing, IDS_SUMMARY_COMMAND_FILE_MISSING},
        {&SummaryWords::registryKey, IDS_SUMMARY_KEY},
        {&SummaryWords::values, IDS_SUMMARY_VALUES},
        {&SummaryWords::defaultValue, IDS_SUMMARY_DEFAULT_VALUE},
        {&SummaryWords::valuesNotShown, IDS_SUMMARY_VALUES_NOT_SHOWN},
        {&SummaryWords::wrongSize, IDS_SUMMARY_WRONG_SIZE},
        {&SummaryWords::otherType, IDS_SUMMARY_OTHER_TYPE},
        {&SummaryWords::emptyData, IDS_SUMMARY_EMPTY},
        {&SummaryWords::cut, IDS_SUMMARY_CUT},
        {&SummaryWords::yes, IDS_SUMMARY_YES},
        {&SummaryWords::no, IDS_SUMMARY_NO},
        {&SummaryWords::unknown, IDS_SUMMARY_UNKNOWN},
        {&SummaryWords::disableSound, IDS_LABEL_DISABLE_SOUND},
        {&SummaryWords::disableMusic, IDS_LABEL_DISABLE_MUSIC},
        {&SummaryWords::disableMovies, IDS_LABEL_DISABLE_MOVIES},
        {&SummaryWords::disableFog, IDS_LABEL_DISABLE_FOG},
        {&SummaryWords::disableJoystick, IDS_LABEL_DISABLE_JOYSTICK},
        {&SummaryWords::disableTripBuf, IDS_LABEL_DISABLE_TRIPBUF},
        {&SummaryWords::disableCursor, IDS_LABEL_DISABLE_CURSOR},
        {&SummaryWords::disableLoadscreen, IDS_LABEL_DISABLE_LOADSCREEN},
        {&SummaryWords::restoreDefaults, IDS_LABEL_RESTORE_DEFAULTS},
    };
    // A word left out here would show as nothing.
    static_assert(sizeof(kTable) / sizeof(kTable[0]) * sizeof(std::string) == sizeof(SummaryWords),
                  "every word of the summary has its string");
    static const std::vector<SummaryWordId> kIds(std::begin(kTable), std::end(kTable));
    return kIds;
}

std::vector<size_t> ShownRegistryValues(const std::vector<std::string>& names, const std::vector<const char*>& ownNames) {
    std::vector<size_t> shown;
    std::vector<bool> taken(names.size(), false);
    for (const char* own : ownNames) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (taken[i] || !SameAsciiName(names[i], own)) continue;
            shown.push_back(i);
            taken[i] = true;
            break;
        }
    }
    for (size_t i = 0; i < names.size() && shown.size() < kShownRegistryValues; ++i)
        if (!taken[i]) shown.push_back(i);
    return shown;
}

std::string ShownText(const std::string& text, const SummaryWords& words, size_t limit, uint64_t wholeSize) {
    size_t end = std::min(text.size(), limit);
    // Cut before a character, not inside one.
    while (end < text.size() && end > 0 && IsContinuationByte(static_cast<unsigned char>(text[end]))) --end;
    std::string shown;
    shown.reserve(end + 16);
    for (size_t i = 0; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool escapeStart = c == '\\' && i + 1 < text.size() && text[i + 1] == 'x';
        const size_t length = c < 0x20 || c == 0x7F || escapeStart ? 1 : LayoutControlLength(text, i, end);
        if (length == 0) {
            shown += static_cast<char>(c);
            continue;
        }
        for (size_t k = 0; k < length; ++k) shown += "\\x" + Hex(static_cast<unsigned char>(text[i + k]), 2);
        i += length - 1;
    }
    wholeSize = std::max<uint64_t>(wholeSize, text.size());
    if (end < wholeSize) shown += CutMark(words, wholeSize);
    return shown;
}

std::string BuildSupportSummary(const SupportSnapshot& s, const SummaryWords& w) {
    Summary out;
    out.Plain(w.title);
    if (s.settingsReset && s.resetNotDeleted.empty()) out.Plain(w.resetDone);
    if (s.settingsReset && !s.resetNotDeleted.empty()) {
        std::string names;
        for (const std::string& name : s.resetNotDeleted) names += (names.empty() ? "" : ", ") + Quoted(w, name);
        out.Plain(Filled(w.resetIncomplete, {names}));
    }
    AddLauncher(out, s, w);
    AddSystem(out, s, w);
    AddGameData(out, s, w);
    AddGraphics(out, s, w);
    AddSound(out, s, w);
    AddAdvanced(out, s, w);
    AddEngine(out, s, w);
    AddRegistry(out, s, w);
    return out.Take();
}

}  // namespace velk
