// Every dialog of this build, in the build's language, opened in turn from
// the launcher's templates: the text of each static, button and check box,
// measured with the control's font and laid out as the control lays it out,
// fits inside the control, and the dialog fits a 640 x 480 screen.
#include <gtest/gtest.h>

#include "launcher_driver.h"  // windows.h, string, vector

namespace velk {
namespace {

INT_PTR CALLBACK TemplateOnly(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(name);  // every dialog has a name
    return TRUE;
}
BOOL CALLBACK AddChild(HWND child, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

// Where a control draws its text and with which DrawText flags; false for
// a control that shows no text of its own (pictures, frames, lists, fields).
bool TextPlace(HWND control, HDC dc, RECT* place, UINT* format) {
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE), type = style & SS_TYPEMASK;
    GetClientRect(control, place);
    if (lstrcmpiW(cls, L"Static") == 0) {
        *format = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0) | (type <= SS_RIGHT ? DT_WORDBREAK : 0) |
                  (type == SS_SIMPLE ? DT_SINGLELINE : 0);
        return type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
    }
    SIZE digit = {};
    GetTextExtentPoint32W(dc, L"0", 1, &digit);
    *format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (lstrcmpiW(cls, L"Button") == 0 ? style & BS_TYPEMASK : -1) {
    case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON:
        InflateRect(place, -3, -3);  // the raised frame and the focus rectangle
        return true;
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        place->left += 13 + digit.cx / 2;  // the box, then half a digit
        return true;
    case BS_GROUPBOX:
        InflateRect(place, -7, 0);  // the frame's corners
        return true;
    default: return false;
    }
}

TEST(DialogText, EveryTextFitsItsControlAndEveryDialogTheScreen) {
    std::vector<std::wstring> dialogs;
    EnumResourceNamesW(nullptr, MAKEINTRESOURCEW(5) /* RT_DIALOG */, AddName, reinterpret_cast<LONG_PTR>(&dialogs));
    ASSERT_FALSE(dialogs.empty());
    for (const std::wstring& name : dialogs) {
        SCOPED_TRACE(test::Utf8FromWide(name));
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), name.c_str(), nullptr, TemplateOnly, 0);
        ASSERT_NE(dialog, nullptr);
        RECT frame, place, need;
        GetWindowRect(dialog, &frame);
        EXPECT_LE(frame.right - frame.left, 640);
        EXPECT_LE(frame.bottom - frame.top, 480);
        std::vector<HWND> controls;
        EnumChildWindows(dialog, AddChild, reinterpret_cast<LPARAM>(&controls));
        for (HWND control : controls) {
            wchar_t text[1024] = {};
            GetWindowTextW(control, text, 1024);
            HDC dc = GetDC(control);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
            UINT format = 0;
            if (*text && TextPlace(control, dc, &place, &format)) {
                need = {0, 0, place.right - place.left, 0};
                DrawTextW(dc, text, -1, &need, format | DT_CALCRECT);
                EXPECT_TRUE(need.right <= place.right - place.left && need.bottom <= place.bottom - place.top)
                    << "\"" << test::Utf8FromWide(text) << "\" needs " << need.right << " x " << need.bottom
                    << " pixels, has " << place.right - place.left << " x " << place.bottom - place.top;
            }
            SelectObject(dc, old);
            ReleaseDC(control, dc);
        }
        DestroyWindow(dialog);
    }
}

}  // namespace
}  // namespace velk
