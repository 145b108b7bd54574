#include "support/support_summary.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

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

std::string YesNo(bool yes) { return yes ? "ja" : "nej"; }
std::string Quoted(const std::string& text, uint64_t wholeSize = 0) {
    return "\"" + ShownText(text, kShownTextLength, wholeSize) + "\"";
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

std::string EntryText(const SupportSnapshot::Entry& entry) {
    switch (entry.kind) {
    case SupportSnapshot::Entry::File:
        return "finns, " + Number(entry.size) + " byte";
    case SupportSnapshot::Entry::Folder:
        return "finns (mapp)";
    default:
        return "saknas";
    }
}

std::string OutcomeText(const SupportSnapshot::RendererEntry& r) {
    if (r.outsideCodePage) return "utelämnad: namnet har tecken utanför teckentabellen";
    if (!r.examined) return "inte undersökt i denna körning (öppna Grafik...)";
    switch (r.outcome) {
    case ModuleOutcome::Offered:
        if (r.cards == 0) return "erbjuds, men inga listade lägen";
        return "erbjuds, " + Number(r.cards) + " kort, " + Number(r.modes) + " lägen";
    case ModuleOutcome::NotLoaded:
        return "utelämnad: kan inte laddas";
    case ModuleOutcome::NoExports:
        return "utelämnad: saknar användbara exporter";
    case ModuleOutcome::Faulted:
        return "utelämnad: fel inuti modulen";
    case ModuleOutcome::NoList:
        return "utelämnad: inga listade lägen";
    }
    return "okänt";
}

void AddLauncher(Summary& out, const SupportSnapshot& s) {
    out.Heading("Startprogram");
    out.Line("Version", ShownText(s.version));
    out.Line("Sökväg", ShownText(s.launcherPath));
    out.Line("Spelmapp", ShownText(s.gameFolder));
    out.Line("Kommandorad", Quoted(s.commandLine));
}

void AddSystem(Summary& out, const SupportSnapshot& s) {
    out.Heading("System");
    out.Line("Windows", ShownText(s.windowsVersion));
    out.Line("Wine", s.wineVersion.empty() ? "nej" : ShownText(s.wineVersion));
    out.Line("Skärm", Number(static_cast<uint32_t>(s.screenWidth)) + " x " +
                          Number(static_cast<uint32_t>(s.screenHeight)) + ", " +
                          Number(static_cast<uint32_t>(s.colourDepth)) + " bitar per bildpunkt");
}

void AddGameData(Summary& out, const SupportSnapshot& s) {
    out.Heading("Speldata");
    for (const SupportSnapshot::Entry& archive : s.archives)
        out.Line("Arkiv " + ShownText(archive.name, 128), EntryText(archive));
    out.Line("Dataskiva", s.dataDiscDrive ? std::string(1, s.dataDiscDrive) + ":" : "hittades inte");
    out.Line("autoexec.cfg", s.autoexecPresent ? "finns" : "saknas");
    out.Line("Motorns körningar", std::to_string(s.engineRuns));
}

void AddGraphics(Summary& out, const SupportSnapshot& s) {
    out.Heading("Grafik");
    if (s.renderers.empty()) out.Line("Renderarmoduler", "inga (*.REN) i spelmappen");
    for (const SupportSnapshot::RendererEntry& r : s.renderers) out.Line(ShownText(r.fileName, 128), OutcomeText(r));
    auto orNone = [](const std::string& text) { return text.empty() ? std::string("inget") : ShownText(text); };
    out.Line("Sparad renderare", orNone(s.savedRenderDll));
    out.Line("Sparat kort", orNone(s.savedCardDesc));
    out.Line("Sparat läge", orNone(s.savedMode));
    out.Line("Vald renderare", orNone(s.chosenRenderer));
    out.Line("Valt kort", orNone(s.chosenCard));
    out.Line("Valt läge", orNone(s.chosenMode));
    out.Line("Går till motorn", YesNo(s.displayConfirmed));
}

void AddSound(Summary& out, const SupportSnapshot& s) {
    out.Heading("3D-ljud");
    out.Line("Ljudbibliotek", s.soundLibrary.empty() ? "saknas" : "finns, " + ShownText(s.soundLibrary));
    out.Line("Försörjare", std::to_string(s.sound.providerKind) + ", " + Quoted(s.sound.providerName));
    out.Line("Röster", Number(s.sound.samples3D) + " 3D, " + Number(s.sound.samples2D) + " program");
    out.Line("Efterklang", std::to_string(s.sound.reverb));
    out.Line("Går till motorn", YesNo(s.soundConfigured));
    using Search = SupportSnapshot::SoundSearch;
    if (s.soundSearch == Search::NotSearched) {
        out.Line("Sökning", "inte sökt");
    } else if (s.soundSearch == Search::Failed) {
        out.Line("Sökning", "misslyckades (biblioteket saknas eller ljudenheten kunde inte öppnas)");
    } else {
        out.Line("Sökning", Number(s.soundProviders.size()) + " försörjare");
        for (const std::string& name : s.soundProviders) out.Line("  försörjare", Quoted(name));
    }
}

void AddAdvanced(Summary& out, const SupportSnapshot& s) {
    out.Heading("Avancerat");
    struct Switch {
        const char* name;
        int32_t EngineSwitches::*field;
    };
    static const Switch kSwitches[] = {
        {"Avaktivera ljud", &EngineSwitches::disableSound},
        {"Avaktivera musik", &EngineSwitches::disableMusic},
        {"Avaktivera filmer", &EngineSwitches::disableMovies},
        {"Avaktivera dimma", &EngineSwitches::disableFog},
        {"Avaktivera joystick", &EngineSwitches::disableJoystick},
        {"Avaktivera trippelbuffring", &EngineSwitches::disableTripBuf},
        {"Avaktivera maskinvarumarkör", &EngineSwitches::disableCursor},
        {"Avaktivera animerad laddningsskärm", &EngineSwitches::disableLoadscreen},
        {"Återställ standardvärden", &EngineSwitches::restoreDefaults},
    };
    for (const Switch& sw : kSwitches) out.Line(sw.name, YesNo(s.switches.*sw.field != 0));
    out.Line("Spara kommandorad", YesNo(s.saveCommands != 0));
    out.Line("Sparad kommandorad", s.savedCommandsPresent ? Quoted(s.savedCommands, s.savedCommandsSize) : "ingen");
    out.Line("Kommandorad nu", Quoted(s.commandLineText));
    out.Line("Ladda alltid rez-filer", YesNo(s.alwaysLoadArchives));
    if (s.chosenArchives.empty()) out.Line("Valda rez-filer", "inga");
    for (const SupportSnapshot::Entry& archive : s.chosenArchives)
        out.Line("Custom\\" + ShownText(archive.name, 128), EntryText(archive));
}

std::string CommandFileText(const SupportSnapshot& s) {
    using State = SupportSnapshot::FileState;
    switch (s.commandFileState) {
    case State::Read:
        return Quoted(s.commandFile);
    case State::Folder:
        return "är en mapp, ingen fil";
    case State::Locked:
        return "finns, men är låst av ett annat program";
    case State::Unreadable:
        return "finns, men kan inte läsas (fel " + Number(s.commandFileError) + ")";
    default:
        return "finns inte";
    }
}

void AddEngine(Summary& out, const SupportSnapshot& s) {
    out.Heading("Motorn");
    out.Line("Kommandorad vid Starta", ShownText(s.engineCommandLine));
    out.Line("Frågar prestandanivå", YesNo(s.asksPerformanceLevel));
    out.Line("velkcmds.txt", CommandFileText(s));
    out.Line("Motorn körs", YesNo(s.engineRunning));
}

std::string BinaryText(const std::string& data, uint64_t wholeSize) {
    std::string text;
    const size_t shown = std::min(data.size(), kShownBinaryBytes);
    for (size_t i = 0; i < shown; ++i) {
        if (i) text += ' ';
        text += Hex(static_cast<unsigned char>(data[i]), 2);
    }
    if (wholeSize > shown) text += " ... [avkortat, " + Number(wholeSize) + " byte]";
    return text.empty() ? "(tomt)" : text;
}

uint64_t LittleEndian(const std::string& data) {
    uint64_t value = 0;
    for (size_t i = data.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

std::string RegistryValueText(const SupportSnapshot::RegistryValue& v) {
    const uint64_t size = WholeSize(v);
    switch (v.type) {
    case kRegSz:
        return "REG_SZ " + Quoted(v.data, size);
    case kRegExpandSz:
        return "REG_EXPAND_SZ " + Quoted(v.data, size);
    case kRegMultiSz:
        return "REG_MULTI_SZ " + Quoted(v.data, size);
    case kRegDword:
        if (size != 4) return "REG_DWORD, fel storlek: " + BinaryText(v.data, size);
        return "REG_DWORD " + std::to_string(static_cast<int32_t>(LittleEndian(v.data))) + " (0x" +
               Hex(static_cast<unsigned>(LittleEndian(v.data)), 8) + ")";
    case kRegQword:
        if (size != 8) return "REG_QWORD, fel storlek: " + BinaryText(v.data, size);
        return "REG_QWORD " + Number(LittleEndian(v.data));
    case kRegBinary:
        return "REG_BINARY " + BinaryText(v.data, size);
    default:
        return "typ " + Number(v.type) + ": " + BinaryText(v.data, size);
    }
}

void AddRegistry(Summary& out, const SupportSnapshot& s) {
    out.Heading("Registret");
    out.Line("Nyckel", ShownText(s.registryKey));
    if (s.registry.empty()) out.Line("Värden", "inga");
    const size_t shown = std::min(s.registry.size(), kShownRegistryValues);
    for (size_t i = 0; i < shown; ++i) {
        const SupportSnapshot::RegistryValue& v = s.registry[i];
        out.Line(v.name.empty() ? "(standard)" : ShownText(v.name, 128), RegistryValueText(v));
    }
    const uint64_t hidden = s.registry.size() - shown + s.registryNotRead;
    if (hidden > 0) out.Plain("... [" + Number(hidden) + " värden till visas inte]");
}

}  // namespace

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

std::string ShownText(const std::string& text, size_t limit, uint64_t wholeSize) {
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
    if (end < wholeSize) shown += " ... [avkortat, " + Number(wholeSize) + " byte]";
    return shown;
}

std::string BuildSupportSummary(const SupportSnapshot& s) {
    Summary out;
    out.Plain("VELK - felsökning");
    if (s.settingsReset && s.resetNotDeleted.empty())
        out.Plain("Återställt i denna körning: spelarens val (Avaktivera, kommandorad, rez-filer, 3D-ljud); "
                  "motorn får sina standardvärden vid nästa Starta.");
    if (s.settingsReset && !s.resetNotDeleted.empty()) {
        std::string names;
        for (const std::string& name : s.resetNotDeleted) names += (names.empty() ? "" : ", ") + Quoted(name);
        out.Plain("Återställningen i denna körning blev inte fullständig: kunde inte ta bort " + names +
                  " ur registret.");
    }
    AddLauncher(out, s);
    AddSystem(out, s);
    AddGameData(out, s);
    AddGraphics(out, s);
    AddSound(out, s);
    AddAdvanced(out, s);
    AddEngine(out, s);
    AddRegistry(out, s);
    return out.Take();
}

}  // namespace velk
