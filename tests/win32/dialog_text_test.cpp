// Every dialog of this build, in the build's language, opened in turn from
// the launcher's templates: the text of each static, button and check box,
// measured with the control's own font and laid out as the control lays it
// out, fits inside the control, and the dialog fits a 640 x 480 screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "launcher_driver.h"

namespace velk {
namespace {

using velk::test::Utf8FromWide;

INT_PTR CALLBACK TemplateOnly(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(
        IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<UINT_PTR>(name)) : name);
    return TRUE;
}

BOOL CALLBACK AddChild(HWND child, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

std::wstring Text(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Where a control draws its text and how (DrawText flags); false for a
// control that shows no text of its own (pictures, frames, lists, fields).
bool TextPlace(HWND control, HDC dc, RECT* place, UINT* format) {
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    GetClientRect(control, place);
    SIZE zero = {};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    if (lstrcmpiW(cls, L"Static") == 0) {
        *format = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        switch (style & SS_TYPEMASK) {
        case SS_LEFT: case SS_CENTER: case SS_RIGHT: *format |= DT_WORDBREAK; return true;
        case SS_LEFTNOWORDWRAP: return true;
        case SS_SIMPLE: *format |= DT_SINGLELINE; return true;
        default: return false;
        }
    }
    if (lstrcmpiW(cls, L"Button") != 0) return false;
    *format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON:
        InflateRect(place, -3, -3);  // the raised frame and the focus rectangle
        return true;
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
        place->left += 13 + zero.cx / 2;  // the box, then half a digit's width
        return true;
    case BS_GROUPBOX:
        InflateRect(place, -7, 0);  // the frame's corners
        return true;
    default: return false;
    }
}

TEST(DialogText, EveryTextFitsItsControlAndEveryDialogTheScreen) {
    const HMODULE module = GetModuleHandleW(nullptr);
    std::vector<std::wstring> dialogs;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */, AddName, reinterpret_cast<LONG_PTR>(&dialogs));
    ASSERT_FALSE(dialogs.empty());
    for (const std::wstring& name : dialogs) {
        SCOPED_TRACE(Utf8FromWide(name));
        HWND dialog = CreateDialogParamW(module, name.c_str(), nullptr, TemplateOnly, 0);
        ASSERT_NE(dialog, nullptr);
        RECT frame;
        GetWindowRect(dialog, &frame);
        EXPECT_LE(frame.right - frame.left, 640);
        EXPECT_LE(frame.bottom - frame.top, 480);

        std::vector<HWND> controls;
        EnumChildWindows(dialog, AddChild, reinterpret_cast<LPARAM>(&controls));
        for (HWND control : controls) {
            const std::wstring text = Text(control);
            HDC dc = GetDC(control);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
            RECT place;
            UINT format = 0;
            if (!text.empty() && TextPlace(control, dc, &place, &format)) {
                RECT need = {0, 0, place.right - place.left, 0};
                DrawTextW(dc, text.c_str(), -1, &need, format | DT_CALCRECT);
                EXPECT_TRUE(need.right <= place.right - place.left && need.bottom <= place.bottom - place.top)
                    << "\"" << Utf8FromWide(text) << "\" needs " << need.right << " x " << need.bottom << " pixels, has "
                    << place.right - place.left << " x " << place.bottom - place.top;
            }
            SelectObject(dc, old);
            ReleaseDC(control, dc);
        }
        DestroyWindow(dialog);
    }
}

}  // namespace
}  // namespace velk
