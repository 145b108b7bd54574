// Plays the player's part while modal windows of this thread run: each step
// is given the newest enabled dialog or message box of the thread once it is
// up. A window beyond the steps fails the test and is cancelled.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace velk::test {

class ModalDriver {
public:
    using Step = std::function<void(HWND)>;
    explicit ModalDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, Tick);
    }
    ~ModalDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    size_t stepsTaken() const { return next_; }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM found) {
        char cls[16];
        GetClassNameA(window, cls, sizeof(cls));
        if (IsWindowVisible(window) && IsWindowEnabled(window) && std::strcmp(cls, "#32770") == 0)
            *reinterpret_cast<HWND*>(found) = window;
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalDriver* self = current_;
        if (!self || (self->handled_ && IsWindow(self->handled_) && IsWindowVisible(self->handled_))) return;
        HWND window = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&window));
        if (!window) return;
        self->handled_ = window;
        if (self->next_ < self->steps_.size()) {
            self->steps_[self->next_++](window);
        } else {
            ADD_FAILURE() << "an unexpected window came up";
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    }

    static inline ModalDriver* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    HWND handled_ = nullptr;
    UINT_PTR timer_ = 0;
};

// The text of a message box.
inline std::wstring MessageBoxTextW(HWND box) {
    wchar_t text[1024] = {};
    GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 1024);
    return text;
}

// A string-table text of this program, as a message box shows it.
inline std::wstring ResourceText(UINT id) {
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleA(nullptr), id, text, 512);
    return text;
}

// A step that presses a button by its command id.
inline ModalDriver::Step PressCommand(int command) {
    return [command](HWND window) { PostMessageA(window, WM_COMMAND, command, 0); };
}

}  // namespace velk::test
