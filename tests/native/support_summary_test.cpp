#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <string>

#include "support/support_summary.h"

namespace velk {
namespace {

using Snapshot = SupportSnapshot;

// The summary's words as the Swedish string table holds them, read from its source.
const SummaryWords& Swedish() {
    static const SummaryWords words = [] {
        std::map<std::string, unsigned> ids;
        std::ifstream header(VELK_SOURCE_DIR "/src/resources/ids_strings.h");
        for (std::string line; std::getline(header, line);) {
            char name[128];
            unsigned id = 0;
            if (std::sscanf(line.c_str(), "#define %127s %u", name, &id) == 2) ids[name] = id;
        }
        std::map<unsigned, std::string> texts;
        std::ifstream table(VELK_SOURCE_DIR "/src/resources/sv/strings.rc");
        const std::regex entry(R"re(^\s*(IDS_\w+)\s+"(.*)"\s*$)re");
        std::smatch m;
        for (std::string line; std::getline(table, line);)
            if (std::regex_match(line, m, entry)) texts[ids.at(m[1].str())] = m[2].str();
        SummaryWords read;
        for (const SummaryWordId& id : SummaryWordIds()) read.*id.word = texts.at(id.stringId);
        return read;
    }();
    return words;
}

std::string Dword(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// Each line of the summary holds a name, a colon and a value, or a heading,
// or the title; none holds a control character but its line end.
void ExpectWellFormed(const std::string& summary) {
    size_t start = 0;
    while (start < summary.size()) {
        size_t end = summary.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "the last line has no line end";
        std::string line = summary.substr(start, end - start);
        for (char c : line) ASSERT_GE(static_cast<unsigned char>(c), 0x20u) << line;
        start = end + 2;
    }
}

std::string Squeezed(std::string text) {
    for (size_t at; (at = text.find(":  ")) != std::string::npos;) text.erase(at + 1, 1);
    return text;
}

// The values of one subject start in one column.
TEST(SupportSummary, ValuesOfASubjectLineUp) {
    SupportSnapshot s;
    s.wineVersion = "8.0";
    const std::string summary = BuildSupportSummary(s, Swedish());
    const size_t windows = summary.find("Windows:");
    const size_t wine = summary.find("Wine:");
    const size_t screen = summary.find("Skärm:");  // "ä" takes two bytes and one column
    EXPECT_EQ(summary.find_first_not_of(' ', windows + 8) - windows, summary.find("8.0") - wine);
    EXPECT_EQ(summary.find_first_not_of(' ', screen + 7) - screen - 1, summary.find("8.0") - wine);
}

TEST(SupportSummary, OddSnapshotsShowEveryFactSafely) {
    struct Case {
        const char* what;
        std::function<void(Snapshot&)> fill;
        std::vector<std::string> shown;
        std::vector<std::string> notShown;
    };
    const std::string huge(100000, 'h');
    const Case cases[] = {
        {"empty", [](Snapshot&) {},
         {"[Startprogram]", "[System]", "[Speldata]", "[Grafik]", "[3D-ljud]", "[Avancerat]", "[Motorn]",
          "[Registret]", "Wine: nej", "Dataskiva: hittades inte",
          "Renderarmoduler: inga (*.REN) i spelmappen", "Sökning: inte sökt",
          "Valda rez-filer: inga", "velkcmds.txt: finns inte", "Värden: inga"},
         {"Återställt"}},
        {"control characters in texts and names are escaped",
         [](Snapshot& s) {
             s.commandLine = "a\nb\tc\x7F";
             s.registry.push_back({"Bad\rName", kRegSz, std::string("line1\r\nline2\0x", 14)});
         },
         {"Kommandorad: \"a\\x0Ab\\x09c\\x7F\"", "Bad\\x0DName:", "\"line1\\x0D\\x0Aline2\\x00x\""},
         {}},
        {"characters that turn a line around or end it are escaped",
         [](Snapshot& s) {
             s.commandLine = "readme\u202Etxt.exe \u0085\u2028\u2029\u200F\u2069\u061C \u00e5\u2030";
         },
         {"Kommandorad: \"readme\\xE2\\x80\\xAEtxt.exe \\xC2\\x85\\xE2\\x80\\xA8\\xE2\\x80\\xA9\\xE2\\x80\\x8F"
          "\\xE2\\x81\\xA9\\xD8\\x9C \u00e5\u2030\""},
         {}},
        {"a backslash before x cannot pass for an escape; paths stay readable",
         [](Snapshot& s) { s.gameFolder = "C:\\xy\\Spel"; },
         {"Spelmapp: C:\\x5Cxy\\Spel"}, {}},
        {"huge texts are cut and say so; huge lists stop",
         [&](Snapshot& s) {
             s.engineCommandLine = huge;
             for (int i = 0; i < 300; ++i) s.registry.push_back({"v" + std::to_string(i), kRegSz, huge});
             s.registryNotRead = 4700;
         },
         {std::string(1024, 'h') + " ... [avkortat, 100000 byte]", "... [4800 värden till visas inte]"},
         {std::string(1025, 'h'), "v200:"}},
        {"a cut never splits a character",
         [](Snapshot& s) { s.commandLineText = std::string(1023, 'a') + "ö"; },
         {"\"" + std::string(1023, 'a') + " ... [avkortat, 1025 byte]\""}, {}},
        {"registry types",
         [](Snapshot& s) {
             s.registry = {{"n", kRegDword, Dword(0xFFFFFFFF)},
                           {"short", kRegDword, "ab"},
                           {"q", kRegQword, Dword(1) + Dword(1)},
                           {"b", kRegBinary, std::string(100, '\x01')},
                           {"e", kRegBinary, ""},
                           {"", 99, "\xFF"},
                           {"cut", kRegSz, std::string(1025, 't'), 70000},  // only its start was read
                           {"cutb", kRegBinary, std::string(65, '\x02'), 5000}};
         },
         {"n: REG_DWORD -1 (0xFFFFFFFF)", "short: REG_DWORD, fel storlek: 61 62",
          "q: REG_QWORD 4294967297", std::string("REG_BINARY 01 01") + "",
          "01 ... [avkortat, 100 byte]", "e: REG_BINARY (tomt)", "(standard): typ 99: FF",
          "cut: REG_SZ \"" + std::string(1024, 't') + " ... [avkortat, 70000 byte]\"", "02 ... [avkortat, 5000 byte]"},
         {}},
        {"what became of each renderer module",
         [](Snapshot& s) {
             using O = ModuleOutcome;
             s.renderers = {{"a.ren", true, O::Offered, 2, 5}, {"low.ren", true, O::Offered, 0, 0},
                            {"bad.ren", true, O::Faulted}, {"noexp.ren", true, O::NoExports},
                            {"nolist.ren", true, O::NoList}, {"notdll.ren", true, O::NotLoaded},
                            {"later.ren", false}, {"grafik-\u0101.ren", false, O::NotLoaded, 0, 0, true}};
         },
         {"a.ren: erbjuds, 2 kort, 5 lägen", "low.ren: erbjuds, men inga listade lägen",
          "bad.ren: utelämnad: fel inuti modulen", "noexp.ren: utelämnad: saknar användbara",
          "nolist.ren: utelämnad: inga listade lägen", "notdll.ren: utelämnad: kan inte laddas",
          "later.ren: inte undersökt i denna körning",
          "grafik-\u0101.ren: utelämnad: namnet har tecken utanför teckentabellen"},
         {"Renderarmoduler:"}},
        {"archives present and missing, sound search and reset",
         [](Snapshot& s) {
             s.archives = {{"VELK.rez", Snapshot::Entry::File, 123}, {"sound", Snapshot::Entry::Folder},
                           {"VELK2.rez", Snapshot::Entry::Missing}};
             s.chosenArchives = {{"gone.rez"}};
             s.soundSearch = Snapshot::SoundSearch::Done;
             s.soundProviders = {"P1"};
             s.dataDiscDrive = 'R';
             s.wineVersion = "8.0";
             s.settingsReset = true;
         },
         {"Arkiv VELK.rez: finns, 123 byte", "Arkiv sound: finns (mapp)",
          "Arkiv VELK2.rez: saknas", "Custom\\gone.rez: saknas", "Sökning: 1 försörjare",
          "  försörjare: \"P1\"", "Dataskiva: R:", "Wine: 8.0",
          "Återställt i denna körning"},
         {"Valda rez-filer: inga"}},
        {"velkcmds.txt as a folder; a reset that could not delete everything",
         [](Snapshot& s) {
             s.commandFileState = Snapshot::FileState::Folder;
             s.settingsReset = true;
             s.resetNotDeleted = {"Disable Fog", "Commands"};
         },
         {"velkcmds.txt: är en mapp, ingen fil", "kunde inte ta bort \"Disable Fog\", \"Commands\" ur registret."},
         {"Återställt i denna körning"}},
        {"velkcmds.txt locked", [](Snapshot& s) { s.commandFileState = Snapshot::FileState::Locked; },
         {"velkcmds.txt: finns, men är låst av ett annat program"}, {}},
        {"velkcmds.txt unreadable",
         [](Snapshot& s) { s.commandFileState = Snapshot::FileState::Unreadable, s.commandFileError = 5; },
         {"velkcmds.txt: finns, men kan inte läsas (fel 5)"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Snapshot s;
        c.fill(s);
        const std::string summary = BuildSupportSummary(s, Swedish());
        ExpectWellFormed(summary);
        EXPECT_LT(summary.size(), 400000u);
        // Compared without the padding that lines up the values.
        const std::string squeezed = Squeezed(summary);
        for (const std::string& text : c.shown) EXPECT_NE(squeezed.find(text), std::string::npos) << text;
        for (const std::string& text : c.notShown) EXPECT_EQ(squeezed.find(text), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace velk
