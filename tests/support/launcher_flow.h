// The base of the end-to-end flows: the launcher's scratch registry key, a
// fresh game folder and runs of the real launcher, taken to the title window
// and from there through its dialogs as a player would.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "launcher_driver.h"

namespace velk::test {

constexpr DWORD kWindowWait = kPatience;
constexpr DWORD kExitWait = kPatience;
// Buttons of the title window.
constexpr int kStarta = 1;
constexpr int kAvsluta = 2;
constexpr int kGrafik = 9;
constexpr int kAvancerad = 1007;
// Controls of the advanced options.
constexpr int kCommandsField = 1042;
constexpr int kRestoreBox = 1054;
constexpr int kSoundButton = 1068;
inline const char* const kAdvancedTitle = "VELK - avancerade alternativ";
inline const char* const kDetailTitle = "VELK - prestandainställningar";

class LauncherFlow : public ::testing::Test {
protected:
    LauncherRegistry registry_;
    GameFolder game_;
    std::unique_ptr<Process> launcher_;
    HWND title_ = nullptr;

    // A returning player: no performance question at Starta, no warning before the advanced dialog.
    void SetUp() override {
        registry_.SetNumber("Num Launcher Runs", 4);
        registry_.SetNumber("AdvWarning", 1);
    }

    // A new run of the launcher, up to its title window.
    void StartToTitle(const std::string& arguments = "") {
        launcher_ = std::make_unique<Process>();
        ASSERT_TRUE(launcher_->Start(game_.widePath(), "Velkarion.exe", arguments));
        title_ = WaitForWindow(launcher_->id(), "Velkarion", kWindowWait);
        ASSERT_NE(title_, nullptr);
    }
    HWND Window(const char* title) { return WaitForWindow(launcher_->id(), title, kWindowWait); }
    // Answers the next message box (over `owner`, when given) with the key;
    // gives its text (and caption) once the box is gone.
    std::string AnswerBox(WORD key = VK_RETURN, std::string* caption = nullptr, HWND owner = nullptr) {
        HWND box = WaitForMessageBox(launcher_->id(), kWindowWait, owner);
        if (!box) return "<no box>";
        if (caption) *caption = WindowTextUtf8(box);
        std::string text = MessageBoxText(box);
        HWND boxOwner = GetWindow(box, GW_OWNER);
        PressKey(box, key);
        if (!WaitUntil([&] { return !IsWindow(box); })) return "<the box stayed after the key>: " + text;
        if (boxOwner) WaitAnswering(boxOwner);  // what the answer starts has started
        return text;
    }
    // "Avancerad..." once its warning has been accepted.
    HWND OpenAdvanced() {
        ClickControl(title_, kAvancerad);
        return Window(kAdvancedTitle);
    }
    // Real mouse clicks on the list item at `index` (two clicks: a double-click).
    void ClickListItem(HWND dialog, int listId, int index, int clicks = 1) {
        BringToFront(dialog);
        HWND list = GetDlgItem(dialog, listId);
        int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        POINT p = {6, height * index + height / 2};
        ClientToScreen(list, &p);
        MoveMouseTo(p.x, p.y);
        for (int i = 0; i < clicks; ++i) {
            MouseButton(true);
            MouseButton(false);
        }
        // A single click has been taken once the item shows selected; what a double-click does, the caller waits for.
        if (clicks == 1) WaitUntil([&] { return SendMessageW(list, LB_GETSEL, index, 0) > 0; });
    }
    // Closes the dialog with the button and waits until the code that opened
    // it has also finished (the owner's thread answers again).
    void Close(HWND dialog, int button) {
        HWND owner = GetWindow(dialog, GW_OWNER);
        ClickControl(dialog, button);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        if (owner) WaitAnswering(owner);
    }
    // "Avsluta": the launcher ends.
    void Leave() {
        ClickControl(title_, kAvsluta);
        ASSERT_EQ(launcher_->WaitExit(kExitWait), 1u) << "it shows " << DescribeWindows(launcher_->id());
    }
    std::string PlayAndReadCommandFile() {
        ClickControl(title_, kStarta);
        if (launcher_->WaitExit(kExitWait) != 1) return "<launcher did not end; it shows " + DescribeWindows(launcher_->id()) + ">";
        return game_.CommandFile();
    }
};

}  // namespace velk::test
