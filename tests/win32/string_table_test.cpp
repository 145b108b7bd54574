// The launcher's string tables as the code sees them: LoadStringA in the ANSI
// code page. Expected texts are written here in UTF-8 and converted to the
// ANSI code page the same way the platform converts the UTF-16 resources.
// Every language's table is a module beside this program; this program's own
// table is the one of the build's language.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ids_strings.h"
#include "test_support.h"

namespace velk {
namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), &w[0], n);
    return w;
}

std::string Ansi(const std::string& utf8) {
    std::wstring w = Wide(utf8);
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string a(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), &a[0], n, nullptr, nullptr);
    return a;
}

const char* const kLanguages[] = {"sv", "en"};

// The string table of a language ("sv", "en"), from its module beside this program.
HMODULE Table(const std::string& language) {
    static std::map<std::string, HMODULE> loaded;
    HMODULE& module = loaded[language];
    if (!module) module = LoadLibraryExA(("velk_texts_" + language + ".dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module, nullptr) << "no module with the texts of " << language;
    return module;
}
HMODULE Swedish() { return Table("sv"); }

// Loads a string the way the launcher does; returns false when the id has no entry.
bool LoadAnsi(HMODULE table, UINT id, std::string* text) {
    std::vector<char> buf(8192, '\x7f');
    int n = LoadStringA(table, id, buf.data(), static_cast<int>(buf.size()));
    if (n <= 0) {
        text->clear();
        return false;
    }
    text->assign(buf.data(), static_cast<size_t>(n));
    EXPECT_EQ(std::strlen(buf.data()), static_cast<size_t>(n)) << "id " << id;
    return true;
}

std::wstring LoadWide(HMODULE table, UINT id) {
    const wchar_t* p = nullptr;
    int n = LoadStringW(table, id, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p) return std::wstring();
    return std::wstring(p, static_cast<size_t>(n));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t lf = text.find('\n', start);
        lines.push_back(text.substr(start, lf == std::string::npos ? std::string::npos : lf - start));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

struct Expected {
    UINT id;
    const char* utf8;
};

// One or more texts of every part of the launcher, with the awkward ones on purpose:
// Swedish letters, the blank line in the display warning, the two blanks in the
// help-file error, the quotes in the advanced warning, the fog help text
// that once repeated its tail, texts that once carried a stray star.
const Expected kTexts[] = {
    // start-up
    {IDS_ENGINE_RUNNING, "VELK körs redan."},
    {IDS_SETUP_FAILED, "FELMEDDELANDE - Kan inte starta installationsprogrammet. Kontrollera att cd-skivan till VELK sitter i din cd-romläsare och försök igen."},
    {IDS_GAME_TITLE, "Velkarion"},
    {IDS_REGISTRY_PRODUCT, "Velkarion"},
    {IDS_LANGUAGE, "Swedish"},
    // title window
    {IDS_HELP_NOT_OPENED, "FELMEDDELANDE - Kan inte starta hjälpfil till  VELK. Kontrollera att VELK är korrekt installerat."},
    {IDS_DISPLAY_WARNING, "De tillgängliga skärmalternativen för din dator kommer nu att kalkyleras. Detta kan ta lite tid beroende på vilken maskinvara som är installerad.\n\nOm inget dyker upp i skärmdialogen bör du kontrollera att DirectX 7.0 är korrekt installerat på din dator."},
    {IDS_WEB_NOT_OPENED, "FELMEDDELANDE - Kan inte öppna webbsidan. Kontrollera att din webbläsare och internetanslutning är korrekt konfigurerade."},
    {IDS_HELP_FILE, "VELK.hlp"},
    // engine launch
    {IDS_ENGINE_NOT_STARTED, "FELMEDDELANDE - Kunde inte starta TALVEX.EXE. Kontrollera att VELK är korrekt installerat."},
    {IDS_NO_GAME_ARCHIVE, "FELMEDDELANDE - Kan inte hitta VELK.rez-filen. Kontrollera att VELK är korrekt installerat och att cd-skiva 1 till VELK sitter i din cd-romläsare."},
    // renderer search
    {IDS_NO_RENDERER, "Hittade inga renderare. Detta problem beror vanligen på att DirectX 7.0 inte är korrekt installerat. Kontrollera att DirectX 7.0 är installerat och kör installationsprogrammet en gång till om det behövs."},
    // advanced options
    {IDS_ADVANCED_WARNING, "VARNING!  Mixtrande med de avancerade alternativen kan få spelet att fungera sämre (eller inte alls) beroende på din systemkonfiguration. Klicka på \"Hjälp\"-knappen för att få information om de olika avancerade alternativen innan du använder dem."},
    // help texts and their labels
    {IDS_HELP_DISABLE_MUSIC, "Detta slår av användandet av DirectMusic i VELK. Vissa ljudkort kan vara inkompatibla med Directmusic.  Använd endast vid problemlösning."},
    {IDS_HELP_DISABLE_FOG, "Detta slår av all atmosfärisk dimma (inte 'clipping plane'). Det bör inte påverka prestandan positivt eller negativt. Men det kan vara användbart på kort som 'nästan' stöder 'table fog'."},
    {IDS_HELP_RESTORE_DEFAULTS, "Detta återställer alla konfigurationsinställningar till sina standardvärden. Det omfattar tangentkonfigurationen, detaljnivån och ljudalternativen. Det är användbart om du har ändrat inställningarna och vill ha tillbaka allt som det var."},
    {IDS_HELP_COMMAND_LINE, "Detta är endast för avancerade användare. Kommandoraden används för att ställa in variabler vid starten."},
    {IDS_LABEL_DISABLE_SOUND, "Avaktivera ljud"},
    {IDS_LABEL_DISABLE_CURSOR, "Avaktivera maskinvarumarkör"},
    {IDS_LABEL_DISABLE_LOADSCREEN, "Avaktivera animerad laddningsskärm"},
    {IDS_LABEL_RESTORE_DEFAULTS, "Återställ standardvärden"},
    {IDS_LABEL_SAVE_COMMANDS, "Använd alltid dessa parametrar"},
    // graphics-card notes, one in full
    {IDS_NOTE_I740, "Intel i740\n\nhttp://www.intel.example/drivers/"},
    {IDS_NOTE_SAVAGE, "S3 Savage\n\nS3 - http://www.s3.example/drivers/\n\nDet här kortet har problem med diminställningarna i VELK. Slå av dimman. Det kostar ingen prestanda.\nRekommenderad skärminställning:\nHÖG\n\nRekommenderade avancerade inställningar:\nKryssa för \"Avaktivera dimma\" i de avancerade alternativen."},
    // custom archives
    {IDS_NO_CUSTOM_ARCHIVES, "Hittar inga fler VELK .REZ-filer i Custom-mappen. Tilläggsfiler till VELK av typ .REZ måste placeras i mappen som heter Custom."},
    // 3D sound
    {IDS_NO_SOUND_PROVIDER, "Det finns ingen 3D-ljudsförsörjare i den här datorn."},
    {IDS_NO_3D_SOUND, "Inget 3D-ljud"},
    {IDS_SOUND_ENUM_WARNING, "Maskinvaran för 3D-ljud i din dator kommer nu att undersökas. Det kan ta upp till en minut och det kan höras små knäppanden och klickljud."},
    // data disc
    {IDS_DISC_MARKER, "\\DATA\\VELK.REZ"},
    {IDS_SHORT_NAME, "VELK"},
    // previews
    {IDS_NO_PREVIEW_DISC, "FELMEDDELANDE - Kommer inte åt förhandsvisningar av spel. Kontrollera att cd-skiva 1 till VELK sitter i din cd-romläsare och försök igen."},
    {IDS_NO_PREVIEWS, "Det finns inga förhandsvisningar av spel på den här cd-skivan."},
};

TEST(StringTable, TextsLoadExactlyInTheAnsiCodePage) {
    for (const Expected& e : kTexts) {
        std::string got;
        ASSERT_TRUE(LoadAnsi(Swedish(), e.id, &got)) << "id " << e.id << " has no entry";
        EXPECT_EQ(got, Ansi(e.utf8)) << "id " << e.id;
        EXPECT_EQ(LoadWide(Swedish(), e.id), Wide(e.utf8)) << "id " << e.id;
    }
}

TEST(StringTable, SwedishLettersArriveAsSingleAnsiBytes) {
    // "VELK körs redan." is 16 characters; UTF-8 bytes leaking through would make it 17.
    std::string got;
    ASSERT_TRUE(LoadAnsi(Swedish(), IDS_ENGINE_RUNNING, &got));
    EXPECT_EQ(got.size(), 16u);
    char expected[2] = {0, 0};
    WCHAR o = 0x00F6;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, &o, 1, expected, 1, nullptr, nullptr), 1);
    EXPECT_EQ(got[6], expected[0]);
}

TEST(StringTable, DisplayWarningHasOneEmptyLineBetweenItsParagraphs) {
    for (const char* language : kLanguages) {
        std::string got;
        ASSERT_TRUE(LoadAnsi(Table(language), IDS_DISPLAY_WARNING, &got)) << language;
        std::vector<std::string> lines = Lines(got);
        ASSERT_EQ(lines.size(), 3u) << language;
        EXPECT_EQ(lines[1], "") << language;
        EXPECT_EQ(got.find('\r'), std::string::npos) << language;
    }
}

TEST(StringTable, HelpFileErrorKeepsItsTwoBlanks) {
    std::string got;
    ASSERT_TRUE(LoadAnsi(Swedish(), IDS_HELP_NOT_OPENED, &got));
    EXPECT_NE(got.find("till  VELK."), std::string::npos);
}

struct Note {
    UINT id;
    const char* firstLine;
    const char* maker;            // text before " - " on the maker line
    const char* display;          // line after the display heading
    const char* advanced;         // line after the advanced heading, or null
    bool emptyLineBeforeAdvanced;
};

const Note kNotes[] = {
    {IDS_NOTE_VOODOO1, "3DFX VooDoo Graphics (Voodoo1)", "3DFX Interactive", "MEDEL", "INGA", true},
    {IDS_NOTE_VOODOO2, "3DFX VooDoo2", "3DFX Interactive", "-HÖG", "-AVAKTIVERA TRIPPELBUFFRING PÅ DETTA KORT.", true},
    {IDS_NOTE_BANSHEE, "3DFX Banshee", "3DFX Interactive", "HÖG", nullptr, false},
    {IDS_NOTE_G200, "G200 Millenium och Mystique", "Matrox", "-MEDEL", nullptr, false},
    {IDS_NOTE_M3D, "Matrox M3D", "Matrox", "LÅG", "INGA (VELK upptäcker automatiskt detta kort)", true},
    {IDS_NOTE_MGA, "Matrox MGA-1064 (Millenium II and Mystique)", "Matrox", "LÅG", "INGA", true},
    {IDS_NOTE_RIVA_TNT, "Riva TNT", "nVidia", "HÖG", nullptr, false},
    {IDS_NOTE_RIVA_128, "Riva 128/128ZX", "nVidia", "Med drivrutiner släppta efter 98-09-15, MEDEL", nullptr, false},
    {IDS_NOTE_RAGE_PRO, "Rage Pro", "ATI", "LÅG", nullptr, false},
    {IDS_NOTE_RAGE_128, "Rage 128", "ATI", "HÖG", nullptr, false},
    {IDS_NOTE_PERMEDIA2, "Permedia2", "3DLabs", "LÅG eller MEDEL (ljusmappning slås av automatiskt med detta kort)", "INGA", true},
    {IDS_NOTE_V1000, "Rendition V1000", "Rendition", "LÅG  512x384", "INGA", true},
    {IDS_NOTE_V2X00, "Rendition V2100/V2200", "Rendition", "LÅG eller MEDEL", "INGA", false},
    {IDS_NOTE_SAVAGE, "S3 Savage", "S3", "HÖG", "Kryssa för \"Avaktivera dimma\" i de avancerade alternativen.", true},
    {IDS_NOTE_VIRGE, "Virge (Diamond Stealth 3D Pro 2000, IMagic 3D)", "S3", "LÅG,", "INGA", false},
};

TEST(StringTable, CardNotesFollowTheirLayout) {
    const std::string displayHeading = Ansi("Rekommenderad skärminställning:");
    const std::string advancedHeading = Ansi("Rekommenderade avancerade inställningar:");
    for (const Note& n : kNotes) {
        SCOPED_TRACE(n.firstLine);
        std::string text;
        ASSERT_TRUE(LoadAnsi(Swedish(), n.id, &text));
        ASSERT_LT(text.size(), 2000u) << "the notes dialog shows at most 1999 characters";
        std::vector<std::string> lines = Lines(text);
        ASSERT_GE(lines.size(), 7u);
        EXPECT_EQ(lines[0], Ansi(n.firstLine));
        EXPECT_EQ(lines[1], "");
        const std::string makerPrefix = Ansi(n.maker) + " - http://";
        EXPECT_EQ(lines[2].compare(0, makerPrefix.size(), makerPrefix), 0) << lines[2];
        EXPECT_EQ(lines[3], "");

        size_t heading = 0;
        for (size_t i = 4; i < lines.size(); ++i)
            if (lines[i] == displayHeading) heading = i;
        ASSERT_GT(heading, 4u) << "at least one advice paragraph before the display heading";
        for (size_t i = 4; i < heading; ++i) {
            if (lines[i].empty()) {
                EXPECT_FALSE(lines[i - 1].empty()) << "paragraphs are separated by one empty line";
            }
        }
        EXPECT_FALSE(lines[heading - 1].empty());
        EXPECT_EQ(lines[heading + 1], Ansi(n.display));

        if (n.advanced) {
            ASSERT_GE(lines.size(), heading + 4);
            EXPECT_EQ(lines.back(), Ansi(n.advanced));
            EXPECT_EQ(lines[lines.size() - 2], advancedHeading);
            if (n.emptyLineBeforeAdvanced) {
                EXPECT_EQ(lines.size(), heading + 5);
                EXPECT_EQ(lines[heading + 2], "");
            } else {
                EXPECT_EQ(lines.size(), heading + 4);
            }
        } else {
            EXPECT_EQ(text.find(advancedHeading), std::string::npos);
        }
    }
}

TEST(StringTable, Riva128NoteGivesBothDriverCasesAndAWarning) {
    std::string text;
    ASSERT_TRUE(LoadAnsi(Swedish(), IDS_NOTE_RIVA_128, &text));
    std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 5u);
    size_t n = lines.size();
    EXPECT_EQ(lines[n - 5], Ansi("Med drivrutiner släppta efter 98-09-15, MEDEL"));
    EXPECT_EQ(lines[n - 4], "");
    EXPECT_EQ(lines[n - 3], Ansi("Med drivrutiner släppta innan 98-09-15, LÅG"));
    EXPECT_EQ(lines[n - 2], "");
    EXPECT_FALSE(lines[n - 1].empty());
    EXPECT_EQ(lines[n - 6], Ansi("Rekommenderad skärminställning:"));
}

#define STRING_ID(name) {name, #name}
struct NamedId {
    UINT id;
    const char* name;
};
const NamedId kAllIds[] = {
    STRING_ID(IDS_SETUP_FAILED), STRING_ID(IDS_ENGINE_NOT_STARTED), STRING_ID(IDS_GAME_TITLE),
    STRING_ID(IDS_NO_PREVIEW_DISC), STRING_ID(IDS_NO_PREVIEWS), STRING_ID(IDS_HELP_NOT_OPENED),
    STRING_ID(IDS_NO_CUSTOM_ARCHIVES), STRING_ID(IDS_NO_GAME_ARCHIVE), STRING_ID(IDS_DISPLAY_WARNING),
    STRING_ID(IDS_NOTE_VOODOO1), STRING_ID(IDS_NOTE_VOODOO2), STRING_ID(IDS_NOTE_BANSHEE),
    STRING_ID(IDS_NOTE_I740), STRING_ID(IDS_NOTE_G200), STRING_ID(IDS_NOTE_RIVA_TNT),
    STRING_ID(IDS_NOTE_RIVA_128), STRING_ID(IDS_NOTE_RAGE_PRO), STRING_ID(IDS_NOTE_PERMEDIA2),
    STRING_ID(IDS_NOTE_V2X00), STRING_ID(IDS_NOTE_SAVAGE), STRING_ID(IDS_NOTE_VIRGE),
    STRING_ID(IDS_NOTE_M3D), STRING_ID(IDS_NOTE_MGA), STRING_ID(IDS_NOTE_V1000),
    STRING_ID(IDS_HELP_DISABLE_SOUND), STRING_ID(IDS_HELP_DISABLE_MUSIC), STRING_ID(IDS_HELP_DISABLE_MOVIES),
    STRING_ID(IDS_HELP_DISABLE_FOG), STRING_ID(IDS_HELP_DISABLE_JOYSTICK), STRING_ID(IDS_HELP_DISABLE_TRIPBUF),
    STRING_ID(IDS_HELP_DISABLE_CURSOR), STRING_ID(IDS_HELP_DISABLE_LOADSCREEN), STRING_ID(IDS_HELP_RESTORE_DEFAULTS),
    STRING_ID(IDS_HELP_COMMAND_LINE), STRING_ID(IDS_ADVANCED_WARNING), STRING_ID(IDS_NO_RENDERER),
    STRING_ID(IDS_WEB_NOT_OPENED), STRING_ID(IDS_GAME_WEB_SITE), STRING_ID(IDS_HELP_FILE),
    STRING_ID(IDS_MAKER_WEB_SITE), STRING_ID(IDS_WINDOW_TITLE), STRING_ID(IDS_REGISTRY_PRODUCT),
    STRING_ID(IDS_DISC_MARKER), STRING_ID(IDS_SETUP_PROGRAM), STRING_ID(IDS_SHORT_NAME),
    STRING_ID(IDS_TITLE_PICTURE_COUNT), STRING_ID(IDS_ENGINE_RUNNING), STRING_ID(IDS_NO_SOUND_PROVIDER),
    STRING_ID(IDS_NO_3D_SOUND), STRING_ID(IDS_SOUND_ENUM_WARNING), STRING_ID(IDS_NOTE_RAGE_128),
    STRING_ID(IDS_NEWS_WEB_SITE), STRING_ID(IDS_LABEL_DISABLE_SOUND), STRING_ID(IDS_LABEL_DISABLE_MUSIC),
    STRING_ID(IDS_LABEL_DISABLE_MOVIES), STRING_ID(IDS_LABEL_DISABLE_FOG), STRING_ID(IDS_LABEL_DISABLE_JOYSTICK),
    STRING_ID(IDS_LABEL_DISABLE_TRIPBUF), STRING_ID(IDS_LABEL_DISABLE_CURSOR), STRING_ID(IDS_LABEL_DISABLE_LOADSCREEN),
    STRING_ID(IDS_LABEL_RESTORE_DEFAULTS), STRING_ID(IDS_LABEL_SAVE_COMMANDS), STRING_ID(IDS_LANGUAGE),
    STRING_ID(IDS_COMMAND_FILE_NOT_WRITTEN), STRING_ID(IDS_ARCHIVE_LIST_CUT), STRING_ID(IDS_SUPPORT_RESET_CONFIRM),
    STRING_ID(IDS_SUPPORT_NOT_SAVED), STRING_ID(IDS_SUPPORT_SAVE_TYPES),
    STRING_ID(IDS_SUMMARY_TITLE), STRING_ID(IDS_SUMMARY_RESET_DONE), STRING_ID(IDS_SUMMARY_RESET_INCOMPLETE),
    STRING_ID(IDS_SUMMARY_LAUNCHER), STRING_ID(IDS_SUMMARY_SYSTEM), STRING_ID(IDS_SUMMARY_GAME_DATA),
    STRING_ID(IDS_SUMMARY_GRAPHICS), STRING_ID(IDS_SUMMARY_SOUND), STRING_ID(IDS_SUMMARY_ADVANCED),
    STRING_ID(IDS_SUMMARY_ENGINE), STRING_ID(IDS_SUMMARY_REGISTRY), STRING_ID(IDS_SUMMARY_VERSION),
    STRING_ID(IDS_SUMMARY_PATH), STRING_ID(IDS_SUMMARY_GAME_FOLDER), STRING_ID(IDS_SUMMARY_COMMAND_LINE),
    STRING_ID(IDS_SUMMARY_SCREEN), STRING_ID(IDS_SUMMARY_SCREEN_MODE), STRING_ID(IDS_SUMMARY_ARCHIVE),
    STRING_ID(IDS_SUMMARY_DATA_DISC), STRING_ID(IDS_SUMMARY_NOT_FOUND), STRING_ID(IDS_SUMMARY_PRESENT),
    STRING_ID(IDS_SUMMARY_MISSING), STRING_ID(IDS_SUMMARY_FILE_SIZE), STRING_ID(IDS_SUMMARY_FOLDER),
    STRING_ID(IDS_SUMMARY_ENGINE_RUNS), STRING_ID(IDS_SUMMARY_RENDERERS), STRING_ID(IDS_SUMMARY_NO_RENDERERS),
    STRING_ID(IDS_SUMMARY_NONE_SET), STRING_ID(IDS_SUMMARY_SAVED_RENDERER), STRING_ID(IDS_SUMMARY_SAVED_CARD),
    STRING_ID(IDS_SUMMARY_SAVED_MODE), STRING_ID(IDS_SUMMARY_CHOSEN_RENDERER), STRING_ID(IDS_SUMMARY_CHOSEN_CARD),
    STRING_ID(IDS_SUMMARY_CHOSEN_MODE), STRING_ID(IDS_SUMMARY_REACHES_ENGINE), STRING_ID(IDS_SUMMARY_OUTSIDE_CODE_PAGE),
    STRING_ID(IDS_SUMMARY_NOT_EXAMINED), STRING_ID(IDS_SUMMARY_OFFERED_NO_MODES), STRING_ID(IDS_SUMMARY_OFFERED),
    STRING_ID(IDS_SUMMARY_NOT_LOADED), STRING_ID(IDS_SUMMARY_NO_EXPORTS), STRING_ID(IDS_SUMMARY_FAULTED),
    STRING_ID(IDS_SUMMARY_NO_LIST), STRING_ID(IDS_SUMMARY_UNKNOWN_OUTCOME), STRING_ID(IDS_SUMMARY_SOUND_LIBRARY),
    STRING_ID(IDS_SUMMARY_FOUND_AT), STRING_ID(IDS_SUMMARY_PROVIDER), STRING_ID(IDS_SUMMARY_VOICES),
    STRING_ID(IDS_SUMMARY_VOICE_COUNTS), STRING_ID(IDS_SUMMARY_REVERB), STRING_ID(IDS_SUMMARY_SEARCH),
    STRING_ID(IDS_SUMMARY_NOT_SEARCHED), STRING_ID(IDS_SUMMARY_SEARCH_FAILED), STRING_ID(IDS_SUMMARY_PROVIDERS_FOUND),
    STRING_ID(IDS_SUMMARY_FOUND_PROVIDER), STRING_ID(IDS_SUMMARY_SAVE_COMMANDS), STRING_ID(IDS_SUMMARY_SAVED_COMMANDS),
    STRING_ID(IDS_SUMMARY_NO_SAVED_COMMANDS), STRING_ID(IDS_SUMMARY_COMMAND_LINE_NOW),
    STRING_ID(IDS_SUMMARY_ALWAYS_LOAD), STRING_ID(IDS_SUMMARY_CHOSEN_ARCHIVES), STRING_ID(IDS_SUMMARY_NONE),
    STRING_ID(IDS_SUMMARY_COMMAND_LINE_AT_START), STRING_ID(IDS_SUMMARY_ASKS_PERFORMANCE),
    STRING_ID(IDS_SUMMARY_ENGINE_RUNNING), STRING_ID(IDS_SUMMARY_COMMAND_FILE_FOLDER),
    STRING_ID(IDS_SUMMARY_COMMAND_FILE_LOCKED), STRING_ID(IDS_SUMMARY_COMMAND_FILE_UNREADABLE),
    STRING_ID(IDS_SUMMARY_COMMAND_FILE_MISSING), STRING_ID(IDS_SUMMARY_KEY), STRING_ID(IDS_SUMMARY_VALUES),
    STRING_ID(IDS_SUMMARY_DEFAULT_VALUE), STRING_ID(IDS_SUMMARY_VALUES_NOT_SHOWN), STRING_ID(IDS_SUMMARY_WRONG_SIZE),
    STRING_ID(IDS_SUMMARY_OTHER_TYPE), STRING_ID(IDS_SUMMARY_EMPTY), STRING_ID(IDS_SUMMARY_CUT),
    STRING_ID(IDS_SUMMARY_YES), STRING_ID(IDS_SUMMARY_NO), STRING_ID(IDS_SUMMARY_UNKNOWN),
};
#undef STRING_ID

TEST(StringTable, EveryIdLoads) {
    for (const char* language : kLanguages) {
        for (const NamedId& n : kAllIds) {
            std::string text;
            EXPECT_TRUE(LoadAnsi(Table(language), n.id, &text)) << language << " " << n.name << " has no entry";
            EXPECT_FALSE(text.empty()) << language << " " << n.name;
        }
    }
}

// The header is the list of record: every id it defines is in the list above,
// and each language's table holds exactly the ids that the header defines.
TEST(StringTable, HeaderAndTableHoldTheSameIds) {
    std::string path = std::string(VELK_SOURCE_DIR) + "/src/resources/ids_strings.h";
    if (path[0] == '/') path = test::WindowsPath(path);
    std::ifstream in(path);
    ASSERT_TRUE(in.good()) << path;

    std::set<UINT> header;
    std::string line;
    int defines = 0;
    while (std::getline(in, line)) {
        char name[128];
        unsigned id = 0;
        if (std::sscanf(line.c_str(), "#define %127s %u", name, &id) == 2 && std::strncmp(name, "IDS_", 4) == 0) {
            ++defines;
            EXPECT_TRUE(header.insert(id).second) << "id " << id << " defined twice";
        }
    }
    EXPECT_EQ(defines, static_cast<int>(sizeof(kAllIds) / sizeof(kAllIds[0])));

    std::set<UINT> listed;
    for (const NamedId& n : kAllIds) listed.insert(n.id);
    EXPECT_EQ(header, listed);

    for (const char* language : kLanguages) {
        std::set<UINT> table;
        for (UINT id = 0; id < 1024; ++id)
            if (!LoadWide(Table(language), id).empty()) table.insert(id);
        EXPECT_EQ(table, header) << language;
    }
}

// What a translation keeps of a text: its lines, the empty ones where they
// are, and on each line the printf specifiers in their order and the web addresses.
std::string Form(const std::string& text) {
    static const std::regex kept(R"(%[-+ #0]*(\*|\d+)?(\.(\*|\d+))?(hh|h|ll|l|L|z|I64|I)?[diouxXeEfgGcspn%]|https?://\S+)");
    std::string form;
    for (const std::string& line : Lines(text)) {
        form += line.empty() ? "(empty)" : "(line)";
        for (std::sregex_iterator it(line.begin(), line.end(), kept), end; it != end; ++it) form += " " + it->str();
        form += "\n";
    }
    return form;
}

// Each translation keeps the form of every text. Names that the engine, the
// disc and the stored settings know stay the same; the engine learns the
// language from the value "Language" alone. This program, like the launcher,
// carries the table of the build's language.
TEST(StringTable, TranslationsKeepTheFormNamesStayAndTheBuildHasItsLanguage) {
    const UINT names[] = {IDS_GAME_TITLE, IDS_WINDOW_TITLE, IDS_REGISTRY_PRODUCT, IDS_DISC_MARKER, IDS_SETUP_PROGRAM,
                          IDS_SHORT_NAME, IDS_TITLE_PICTURE_COUNT, IDS_HELP_FILE, IDS_GAME_WEB_SITE,
                          IDS_MAKER_WEB_SITE, IDS_NEWS_WEB_SITE};
    std::string swedish, text;
    for (const NamedId& n : kAllIds) {
        ASSERT_TRUE(LoadAnsi(Swedish(), n.id, &swedish) && LoadAnsi(Table("en"), n.id, &text)) << n.name;
        EXPECT_EQ(Form(text), Form(swedish)) << n.name << ": " << text;
        EXPECT_EQ(LoadWide(GetModuleHandleA(nullptr), n.id), LoadWide(Table(VELK_LANGUAGE), n.id)) << n.name;
    }
    for (UINT id : names) EXPECT_EQ(LoadWide(Table("en"), id), LoadWide(Swedish(), id)) << id;
    EXPECT_EQ(LoadWide(Table("en"), IDS_LANGUAGE), L"English");
}

}  // namespace
}  // namespace velk
