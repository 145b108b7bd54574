#include "advanced/note_entries.h"

#include <iterator>

#include "resources/ids_strings.h"

namespace velk {

namespace {

constexpr NoteEntry kHelpEntries[] = {
    {"Disable sound", IDS_HELP_DISABLE_SOUND, IDS_LABEL_DISABLE_SOUND},
    {"Disable music", IDS_HELP_DISABLE_MUSIC, IDS_LABEL_DISABLE_MUSIC},
    {"Disable movies ", IDS_HELP_DISABLE_MOVIES, IDS_LABEL_DISABLE_MOVIES},
    {"Disable fog", IDS_HELP_DISABLE_FOG, IDS_LABEL_DISABLE_FOG},
    {"Disable joysticks", IDS_HELP_DISABLE_JOYSTICK, IDS_LABEL_DISABLE_JOYSTICK},
    {"Disable triple buffering", IDS_HELP_DISABLE_TRIPBUF, IDS_LABEL_DISABLE_TRIPBUF},
    {"Disable hardware cursor", IDS_HELP_DISABLE_CURSOR, IDS_LABEL_DISABLE_CURSOR},
    {"Disable animated load screen", IDS_HELP_DISABLE_LOADSCREEN, IDS_LABEL_DISABLE_LOADSCREEN},
    {"Restore defaults", IDS_HELP_RESTORE_DEFAULTS, IDS_LABEL_RESTORE_DEFAULTS},
    {"Command-line", IDS_HELP_COMMAND_LINE, IDS_LABEL_SAVE_COMMANDS},
};

// The card labels are the same in every language: they have no label id.
constexpr NoteEntry kCardEntries[] = {
    {"3DFX Voodoo1", IDS_NOTE_VOODOO1, 0},     {"3DFX Voodoo2", IDS_NOTE_VOODOO2, 0},
    {"3DFX Banshee", IDS_NOTE_BANSHEE, 0},     {"Intel i740", IDS_NOTE_I740, 0},
    {"Matrox G200", IDS_NOTE_G200, 0},         {"Matrox M3D", IDS_NOTE_M3D, 0},
    {"Matrox MGA", IDS_NOTE_MGA, 0},           {"nVidia Riva TNT", IDS_NOTE_RIVA_TNT, 0},
    {"nVidia Riva 128", IDS_NOTE_RIVA_128, 0}, {"ATI Rage Pro", IDS_NOTE_RAGE_PRO, 0},
    {"ATI Rage 128", IDS_NOTE_RAGE_128, 0},    {"3DLabs Permedia2", IDS_NOTE_PERMEDIA2, 0},
    {"Rendition V1000", IDS_NOTE_V1000, 0},    {"Rendition V2x00", IDS_NOTE_V2X00, 0},
    {"S3 Savage", IDS_NOTE_SAVAGE, 0},         {"S3 Virge", IDS_NOTE_VIRGE, 0},
};

}  // namespace

const NoteList& HelpNotes() {
    static const NoteList list = {kHelpEntries, std::size(kHelpEntries), "AdvOptSel"};
    return list;
}

const NoteList& CardNotes() {
    static const NoteList list = {kCardEntries, std::size(kCardEntries), "3DCardSel"};
    return list;
}

std::string WithCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() * 2);
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

}  // namespace velk
