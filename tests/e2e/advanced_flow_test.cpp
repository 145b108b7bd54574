// The advanced options as a player meets them: "Avancerad..." in the title
// window, the first-time warning, the dialog "ADVANCED", its help and card
// notes, and what reaches the engine and the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "launcher_flow.h"

namespace velk::test {
namespace {

constexpr int kSaveCommandsBox = 1043;
constexpr int kCardNotesButton = 1066;
constexpr int kHelpButton = 1069;
constexpr int kNotesList = 1072;
constexpr int kNotesText = 1070;
const char* const kHelpTitle = "Hjälp för avancerade alternativ";
const char* const kCardsTitle = "Anteckningar om grafikkort";
const char* const kAdvancedWarning =
    "VARNING!  Mixtrande med de avancerade alternativen kan få spelet att fungera sämre (eller inte alls) beroende "
    "på din systemkonfiguration. Klicka på \"Hjälp\"-knappen för att få information om de olika avancerade "
    "alternativen innan du använder dem.";

const std::string kAdvancedHead = std::string(kDemoCommandHead) + " +multiplayer 0 ";
const std::string kAllOff = kAllSwitchesOff;

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class AdvancedFlow : public LauncherFlow {
protected:
    HMODULE strings_ = nullptr;

    void SetUp() override {
        LauncherFlow::SetUp();
        strings_ = LoadLibraryExA((game_ / "Velkarion.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    void TearDown() override {
        if (strings_) FreeLibrary(strings_);
    }
    // The launcher's own string-table text (UTF-8), for comparing with what a dialog shows.
    std::string LauncherString(UINT id) {
        wchar_t text[2000] = {};
        int n = strings_ ? LoadStringW(strings_, id, text, 2000) : 0;
        char utf8[6000] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, n, utf8, sizeof(utf8), nullptr, nullptr);
        return utf8;
    }
    // Presses "Avancerad..." and answers the warning with the key; gives caption and text.
    std::string ClickAvanceradAndAnswer(WORD key) {
        ClickControl(title_, kAvancerad);
        std::string caption;
        std::string text = AnswerBox(key, &caption);
        return caption + ": " + text;
    }
    HWND Open(HWND dialog, int button, const char* title) {
        ClickControl(dialog, button);
        return Window(title);
    }
    // Real keystrokes for every character (UTF-8), replacing what the field
    // held. A few at a time: the next go once the field shows the ones before.
    void TypeInto(HWND dialog, int id, const std::string& utf8) {
        HWND field = GetDlgItem(dialog, id);
        ClickControl(dialog, id);
        // The click is taken once the field has the focus and has let the mouse go;
        // only then does selecting everything stay selected.
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof(thread);
        ASSERT_TRUE(WaitUntil([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread) &&
                   thread.hwndFocus == field && !thread.hwndCapture;
        }));
        SendMessageW(field, EM_SETSEL, 0, -1);
        const std::wstring text = WideFromUtf8(utf8);
        for (size_t done = 0; done < text.size();) {
            const size_t next = std::min(text.size(), done + 8);
            for (; done < next; ++done) {
                INPUT keys[2] = {};
                for (INPUT& key : keys) {
                    key.type = INPUT_KEYBOARD;
                    key.ki.wScan = text[done];
                    key.ki.dwFlags = KEYEVENTF_UNICODE;
                }
                keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
                SendInput(2, keys, sizeof(INPUT));
            }
            const std::string typed = Utf8FromWide(text.substr(0, done));
            ASSERT_EVENTUALLY_EQ(ControlText(dialog, id), typed);
        }
    }
    std::string CommandFile() { return game_.CommandFile(); }
    DWORD Number(const char* name) { return registry_.Number(name); }
    std::string Text(const char* name) { return registry_.Text(name); }
};

TEST_F(AdvancedFlow, WarningUntilTheDialogHasBeenShownOnce) {
    registry_.SetNumber("AdvWarning", 0);
    StartToTitle();
    EXPECT_EQ(ClickAvanceradAndAnswer(VK_ESCAPE), std::string("Advanced Options: ") + kAdvancedWarning);
    EXPECT_EQ(WaitForWindow(launcher_->id(), kAdvancedTitle, 300), nullptr) << "Cancel opened the dialog";
    EXPECT_EQ(Number("AdvWarning"), 0u);

    EXPECT_EQ(ClickAvanceradAndAnswer(VK_RETURN), std::string("Advanced Options: ") + kAdvancedWarning);
    HWND dialog = Window(kAdvancedTitle);
    ASSERT_NE(dialog, nullptr);
    RECT frame = {};
    GetWindowRect(dialog, &frame);  // whole, on a 640 x 480 screen
    EXPECT_LE(frame.bottom - frame.top, 480);
    EXPECT_LE(frame.right - frame.left, 640);
    Close(dialog, IDCANCEL);
    dialog = OpenAdvanced();  // no warning this time
    ASSERT_NE(dialog, nullptr);
    Close(dialog, IDCANCEL);
    Leave();
    EXPECT_EQ(Number("AdvWarning"), 1u);
}

TEST_F(AdvancedFlow, BoxesAndTextReachTheEngineAfterOk) {
    StartToTitle();
    HWND dialog = OpenAdvanced();
    ASSERT_NE(dialog, nullptr);
    for (int box : {1050, 1057, 1071, 1073}) ClickControl(dialog, box);
    TypeInto(dialog, kCommandsField, "+windowed 1 +name %s");
    Close(dialog, IDOK);
    EXPECT_EQ(PlayAndReadCommandFile(), kAdvancedHead +
                                            " +DisableMusic 0 +DisableSound 1 +DisableFog 1 +DisableTripBuf 0 "
                                            "+DisableHardwareCursor 1 +DynamicLoadScreen 0  +windowed 1 +name %s");
    EXPECT_EQ(Number("Disable Sound"), 1u);
    EXPECT_EQ(Number("Disable Loadscreen"), 1u);
    EXPECT_EQ(Number("Disable Music"), 0u);
    EXPECT_EQ(Number("Save Commands"), 1u);
    EXPECT_EQ(Text("Commands"), "+windowed 1 +name %s");
}

TEST_F(AdvancedFlow, CancelChangesNothing) {
    registry_.SetNumber("Disable Fog", 1);
    registry_.SetText("Commands", "+old 1");
    StartToTitle();
    HWND dialog = OpenAdvanced();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsTicked(dialog, 1057));
    EXPECT_EQ(ControlText(dialog, kCommandsField), "+old 1");
    for (int box : {1050, 1057, kSaveCommandsBox, kRestoreBox}) ClickControl(dialog, box);
    TypeInto(dialog, kCommandsField, "+new 2");
    Close(dialog, IDCANCEL);
    EXPECT_EQ(PlayAndReadCommandFile(), kAdvancedHead + " +DisableMusic 0 +DisableSound 0 +DisableFog 1 +DisableTripBuf 0 "
                                                "+DisableHardwareCursor 0  +old 1");
    EXPECT_EQ(Number("Save Commands"), LauncherRegistry::kAbsentNumber);
    EXPECT_EQ(Text("Commands"), "+old 1");
}

TEST_F(AdvancedFlow, RestoreDefaultsAsksTheLevelAtEveryLaunch) {
    StartToTitle();
    HWND dialog = OpenAdvanced();
    ASSERT_NE(dialog, nullptr);
    ClickControl(dialog, kRestoreBox);
    Close(dialog, IDOK);
    HWND detail = Open(title_, kStarta, kDetailTitle);
    ASSERT_NE(detail, nullptr) << "no performance question";
    PressKey(detail, VK_ESCAPE);
    title_ = Window("Velkarion");
    ASSERT_NE(title_, nullptr);
    detail = Open(title_, kStarta, kDetailTitle);
    ASSERT_NE(detail, nullptr) << "the second launch did not ask again";
    PressKey(detail, VK_RETURN);
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(CommandFile(), kAdvancedHead + kAllOff + " -config defaults.cfg ++PerformanceLevel 1  ");
}

TEST_F(AdvancedFlow, UntickedSaveKeepsTheTextForThisRunOnly) {
    registry_.SetText("Commands", "+old 1");
    StartToTitle();
    HWND dialog = OpenAdvanced();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsTicked(dialog, kSaveCommandsBox));
    ClickControl(dialog, kSaveCommandsBox);
    TypeInto(dialog, kCommandsField, "+new 2");
    Close(dialog, IDOK);
    EXPECT_EQ(PlayAndReadCommandFile(), kAdvancedHead + kAllOff + "  +new 2");
    EXPECT_EQ(Number("Save Commands"), 0u);
    EXPECT_EQ(Text("Commands"), "+old 1");

    launcher_ = std::make_unique<Process>();  // the next run starts without the text
    ASSERT_TRUE(launcher_->Start(game_.path(), "Velkarion.exe", "-GOGAME"));
    ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u);
    EXPECT_EQ(CommandFile(), kAdvancedHead + kAllOff + " -GOGAME ");
}

TEST_F(AdvancedFlow, TypedTextIsCutTo254Characters) {
    const std::string typed = "+a " + std::string(297, 'x');
    StartToTitle();
    HWND dialog = OpenAdvanced();
    ASSERT_NE(dialog, nullptr);
    TypeInto(dialog, kCommandsField, typed);
    ASSERT_EQ(ControlText(dialog, kCommandsField), typed);
    Close(dialog, IDOK);
    EXPECT_EQ(PlayAndReadCommandFile(), kAdvancedHead + kAllOff + "  " + typed.substr(0, 254));
    EXPECT_EQ(Text("Commands"), typed.substr(0, 254));
}

// What the dialog shows of a stored text: all that OK can store reads back;
// a longer value or one of another type counts as absent.
TEST_F(AdvancedFlow, StoredTextReadsBackOrCountsAsAbsent) {
    const std::string longest(254, 'y');
    struct Case {
        const char* name;
        bool asNumber;
        std::string stored;
        std::string shown;
    };
    const Case cases[] = {
        {"254 characters", false, longest, longest},
        {"255 characters", false, longest + "y", ""},
        {"a number", true, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.asNumber)
            registry_.SetNumber("Commands", 7);
        else
            registry_.SetText("Commands", c.stored);
        StartToTitle();
        HWND dialog = OpenAdvanced();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ControlText(dialog, kCommandsField), c.shown);
        Close(dialog, IDCANCEL);
        EXPECT_EQ(PlayAndReadCommandFile(), kAdvancedHead + kAllOff + "  " + c.shown);
    }
}

// The live command line: what the dialog shows before OK is what "Starta"
// then writes, character for character.
TEST_F(AdvancedFlow, PreviewIsTheLineStartaWrites) {
    constexpr int kPreview = 1090;
    StartToTitle("+dev 1");
    HWND dialog = OpenAdvanced();
    ASSERT_NE(dialog, nullptr);
    auto label = [&] {
        for (int id : {1091, 1092})
            if (IsWindowVisible(GetDlgItem(dialog, id))) return ControlText(dialog, id);
        return std::string("<none>");
    };
    EXPECT_EQ(label(), "Motorns kommandorad:");
    EXPECT_EQ(ControlText(dialog, kPreview), kAdvancedHead + kAllOff + " +dev 1 ");

    ClickControl(dialog, kRestoreBox);  // the preview follows the box at once
    EXPECT_EQ(label(), "Motorns kommandorad (prestandanivån väljs vid start):");
    EXPECT_EQ(ControlText(dialog, kPreview), kAdvancedHead + kAllOff + " -config defaults.cfg +dev 1 ");
    ClickControl(dialog, kRestoreBox);
    EXPECT_EQ(label(), "Motorns kommandorad:");

    for (int box : {1051, 1055, 1067, 1058}) ClickControl(dialog, box);
    const std::string typed = "+name \"Å %s\"";
    TypeInto(dialog, kCommandsField, typed);
    std::string preview;
    WaitUntil([&] {  // the preview follows once the typing pauses
        preview = ControlText(dialog, kPreview);
        return preview.size() > typed.size() && preview.compare(preview.size() - typed.size(), typed.size(), typed) == 0;
    });
    Close(dialog, IDOK);
    EXPECT_EQ(AnsiFromUtf8(preview), PlayAndReadCommandFile());
    EXPECT_EQ(preview, kAdvancedHead +
                           " +DisableMusic 1 +DisableSound 0 +DisableMovies 1 +DisableJoystick 1 +DisableTripBuf 1 "
                           "+DisableHardwareCursor 0 +dev 1 +name \"Å %s\"");
}

struct NoteCase {
    const char* label;
    UINT textId;
};

const NoteCase kHelpEntries[] = {
    {"Avaktivera ljud", 34},          {"Avaktivera musik", 35},
    {"Avaktivera filmer", 36},        {"Avaktivera dimma", 38},
    {"Avaktivera joystick", 42},      {"Avaktivera trippelbuffring", 45},
    {"Avaktivera maskinvarumarkör", 46}, {"Avaktivera animerad laddningsskärm", 47},
    {"Återställ standardvärden", 48}, {"Använd alltid dessa parametrar", 49},
};

const NoteCase kCardEntries[] = {
    {"3DFX Voodoo1", 19},    {"3DFX Voodoo2", 20},    {"3DFX Banshee", 21},     {"Intel i740", 22},
    {"Matrox G200", 23},     {"Matrox M3D", 31},      {"Matrox MGA", 32},       {"nVidia Riva TNT", 24},
    {"nVidia Riva 128", 25}, {"ATI Rage Pro", 26},    {"ATI Rage 128", 72},     {"3DLabs Permedia2", 27},
    {"Rendition V1000", 33}, {"Rendition V2x00", 28}, {"S3 Savage", 29},        {"S3 Virge", 30},
};

class NotesFlow : public AdvancedFlow {
protected:
    // Walks the whole list with the arrow keys (the list has the focus when
    // the dialog opens), checking each entry's label and text.
    template <size_t N>
    void WalkEntries(HWND notes, const NoteCase (&entries)[N]) {
        std::vector<std::string> labels;
        for (const NoteCase& e : entries) labels.push_back(e.label);
        EXPECT_EQ(ListBoxTexts(GetDlgItem(notes, kNotesList)), labels);
        for (size_t i = 0; i < N; ++i) {
            SCOPED_TRACE(entries[i].label);
            if (i > 0) PressKey(notes, VK_DOWN);
            const std::string expected = WithCrLf(LauncherString(entries[i].textId));
            ASSERT_FALSE(expected.empty());
            EXPECT_EVENTUALLY_EQ(ControlText(notes, kNotesText), expected);
        }
    }
    LRESULT Selected(HWND notes) { return SendMessageA(GetDlgItem(notes, kNotesList), LB_GETCURSEL, 0, 0); }
};

TEST_F(NotesFlow, HelpShowsEveryOptionAndRemembersTheLastOnStang) {
    StartToTitle();
    HWND advanced = OpenAdvanced();
    ASSERT_NE(advanced, nullptr);
    HWND help = Open(advanced, kHelpButton, kHelpTitle);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(Selected(help), 0);
    WalkEntries(help, kHelpEntries);
    for (int i = 0; i < 4; ++i) PressKey(help, VK_UP);  // entry 5
    Close(help, IDOK);
    EXPECT_EQ(Number("AdvOptSel"), 5u);

    help = Open(advanced, kHelpButton, kHelpTitle);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(Selected(help), 5);
    EXPECT_EQ(ControlText(help, kNotesText), WithCrLf(LauncherString(45)));
    PressKey(help, VK_DOWN);
    PressKey(help, VK_ESCAPE);  // closes without storing
    ASSERT_TRUE(WaitWindowGone(help, kWindowWait));
    EXPECT_EQ(Number("AdvOptSel"), 5u);
    EXPECT_NE(WaitForWindowNow(launcher_->id(), kAdvancedTitle), nullptr) << "the advanced dialog stays open";
    Close(advanced, IDCANCEL);
    Leave();
}

TEST_F(NotesFlow, CardNotesShowEveryCardWithItsLineBreaks) {
    StartToTitle();
    HWND advanced = OpenAdvanced();
    ASSERT_NE(advanced, nullptr);
    HWND cards = Open(advanced, kCardNotesButton, kCardsTitle);
    ASSERT_NE(cards, nullptr);
    EXPECT_EQ(Selected(cards), 0);
    WalkEntries(cards, kCardEntries);
    EXPECT_NE(ControlText(cards, kNotesText).find("\r\n\r\n"), std::string::npos) << "empty lines stay empty";
    Close(cards, IDOK);
    EXPECT_EQ(Number("3DCardSel"), 15u);
    Close(advanced, IDCANCEL);
    Leave();
}

// A stored entry past either end selects nothing and shows no text; "Stäng"
// then stores the entry last shown in this run (the first, where none was).
TEST_F(NotesFlow, StoredEntryOutsideTheListShowsNothing) {
    for (DWORD stored : {0xFFFFFFFFu, 1000u}) {
        SCOPED_TRACE(stored);
        registry_.SetNumber("3DCardSel", stored);
        registry_.SetNumber("AdvOptSel", 3);
        StartToTitle();
        HWND advanced = OpenAdvanced();
        ASSERT_NE(advanced, nullptr);
        HWND cards = Open(advanced, kCardNotesButton, kCardsTitle);
        ASSERT_NE(cards, nullptr);
        EXPECT_EQ(Selected(cards), LB_ERR);
        EXPECT_EQ(ControlText(cards, kNotesText), "");
        Close(cards, IDOK);
        EXPECT_EQ(Number("3DCardSel"), 0u);

        HWND help = Open(advanced, kHelpButton, kHelpTitle);  // shows entry 3 ...
        ASSERT_NE(help, nullptr);
        Close(help, IDOK);
        registry_.SetNumber("3DCardSel", stored);
        cards = Open(advanced, kCardNotesButton, kCardsTitle);  // ... which the card notes then store
        ASSERT_NE(cards, nullptr);
        Close(cards, IDOK);
        EXPECT_EQ(Number("3DCardSel"), 3u);
        Close(advanced, IDCANCEL);
        Leave();
    }
}

}  // namespace
}  // namespace velk::test
