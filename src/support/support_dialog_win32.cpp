#include "support/support.h"

#include <commdlg.h>
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/dialog_services.h"
#include "base/file_probe.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "ids_strings.h"
#include "ids_support.h"

namespace velk {

namespace {

constexpr const wchar_t* kSuggestedFile = L"velksupport.txt";

struct SupportDialogData {
    const SupportSources& run;
    FontHandle font;
    bool reset = false;
};

// A fixed-pitch font as tall as the dialog's own, so the columns line up.
FontHandle FixedFont(HWND dialog) {
    LOGFONTA dialogFont = {};
    HFONT shown = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!shown || !GetObjectA(shown, sizeof(dialogFont), &dialogFont)) dialogFont.lfHeight = -11;
    return FontHandle(CreateFontA(dialogFont.lfHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                  "Courier New"));
}

std::wstring FieldText(HWND dialog) {
    HWND field = GetDlgItem(dialog, IDC_SUPPORT_TEXT);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, &text[0], static_cast<int>(text.size()))));
    return text;
}

void ShowSummary(HWND dialog, const SupportSources& run) {
    const std::string summary = BuildSupportSummary(TakeSupportSnapshot(run), LoadSummaryWords());
    SetDlgItemTextW(dialog, IDC_SUPPORT_TEXT, WideFromUtf8(summary).c_str());
}

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

bool CopyToClipboard(HWND dialog, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* locked = memory ? GlobalLock(memory.get()) : nullptr;
    if (!locked) return false;
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(memory.get());
    OpenedClipboard clipboard(dialog);
    if (!clipboard || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard's now
    return true;
}

// The path the player chose in the system's Save As dialog; empty when cancelled.
std::wstring AskSavePath(HWND dialog, ModuleHandle& dialogs) {
    using GetSaveFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
    if (!dialogs) dialogs.reset(LoadLibraryA("comdlg32.dll"));  // kept for the rest of the run
    auto ask = dialogs ? reinterpret_cast<GetSaveFileNameFn>(
                             reinterpret_cast<void*>(GetProcAddress(dialogs.get(), "GetSaveFileNameW")))
                       : nullptr;
    if (!ask) return std::wstring();
    const std::wstring folder = CurrentFolder();
    const std::wstring suggestion = PathInFolder(folder, kSuggestedFile);
    std::vector<wchar_t> file(32768, L'\0');
    if (suggestion.size() < file.size()) std::copy(suggestion.begin(), suggestion.end(), file.begin());

    OPENFILENAMEW request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = dialog;
    std::wstring types = WideFromAnsi(LoadResString(IDS_SUPPORT_SAVE_TYPES));
    std::replace(types.begin(), types.end(), L'|', L'\0');
    request.lpstrFilter = types.c_str();  // the NUL after the last "|" ends the list
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrDefExt = L"txt";
    request.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const BOOL chosen = ask(&request);
    // Relative paths everywhere mean the game folder: it stays the current folder whatever the dialog did.
    if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
    return chosen ? std::wstring(file.data()) : std::wstring();
}

// UTF-8 with its byte-order mark, so that editors read the Swedish letters right.
bool WriteSummaryFile(const std::wstring& path, const std::string& utf8) {
    return WriteWholeFile(path, "\xEF\xBB\xBF" + utf8);
}

void OnSave(HWND dialog, ModuleHandle& commonDialogs) {
    const std::wstring path = AskSavePath(dialog, commonDialogs);
    if (path.empty()) return;
    if (!WriteSummaryFile(path, Utf8FromWide(FieldText(dialog))))
        ShowGameError(dialog, IDS_SUPPORT_NOT_SAVED, MB_ICONEXCLAMATION);
}

void OnReset(HWND dialog, SupportDialogData& data) {
    if (ShowGameError(dialog, IDS_SUPPORT_RESET_CONFIRM, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
    ResetPlayerChoices(data.run);
    data.reset = true;
    ShowSummary(dialog, data.run);
}

INT_PTR CALLBACK SupportDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = DialogData<SupportDialogData>(dialog);
    switch (message) {
    case WM_INITDIALOG:
        data = KeepDialogData<SupportDialogData>(dialog, lParam);
        SetDialogIcon(dialog);
        data->font = FixedFont(dialog);
        if (data->font) {
            const WPARAM font = reinterpret_cast<WPARAM>(data->font.get());
            SendDlgItemMessageA(dialog, IDC_SUPPORT_TEXT, WM_SETFONT, font, FALSE);
        }
        SendDlgItemMessageA(dialog, IDC_SUPPORT_TEXT, EM_SETLIMITTEXT, 0, 0);
        ShowSummary(dialog, data->run);
        // Focus on the field would select all of it.
        SetFocus(GetDlgItem(dialog, IDCANCEL));
        return FALSE;
    case WM_COMMAND:
        if (!data) return FALSE;
        switch (wParam) {
        case IDC_SUPPORT_COPY:
            if (!CopyToClipboard(dialog, FieldText(dialog))) MessageBeep(MB_ICONEXCLAMATION);
            return TRUE;
        case IDC_SUPPORT_SAVE:
            OnSave(dialog, data->run.support.commonDialogs);
            return TRUE;
        case IDC_SUPPORT_RESET:
            OnReset(dialog, *data);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return TRUE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

bool OpenSupportDialog(HWND owner, const SupportSources& run) {
    SupportDialogData data = {run, FontHandle(), false};
    DialogBoxParamA(LauncherModule(), "SUPPORT", owner, SupportDialogProc, reinterpret_cast<LPARAM>(&data));
    return data.reset;
}

}  // namespace velk
