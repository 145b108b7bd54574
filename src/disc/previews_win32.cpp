#include "disc/previews.h"

#include <vector>

#include "base/dialog_services.h"
#include "base/shell_open.h"
#include "base/win32_handles.h"
#include "resources/ids_previews.h"
#include "ids_strings.h"

namespace velk {

namespace {

// The wait cursor while the disc is searched and read.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

bool ShellOpenDocument(const char* path) {
    return reinterpret_cast<INT_PTR>(ShellOpen(nullptr, path)) > 32;
}

class Win32Host final : public PreviewHost {
public:
    std::string CurrentFolder(uint32_t capacity) override {
        std::vector<char> folder(capacity, '\0');
        DWORD length = GetCurrentDirectoryA(capacity, folder.data());
        if (length == 0 || length >= capacity) return "";
        return folder.data();
    }
    uint32_t SectionNames(const std::string& profile, char* buffer, uint32_t capacity) override {
        return GetPrivateProfileSectionNamesA(buffer, capacity, profile.c_str());
    }
    std::string ReadText(const std::string& profile, const std::string& section, const char* key,
                         uint32_t capacity) override {
        std::vector<char> text(capacity, '\0');
        GetPrivateProfileStringA(section.c_str(), key, "", text.data(), capacity, profile.c_str());
        text.back() = '\0';
        return text.data();
    }
    bool OpenWithShell(const std::string& path) override { return ShellOpenDocument(path.c_str()); }
};

// The lists the dialog offers (its WM_INITDIALOG parameter); either may be none.
struct PreviewLists {
    std::unique_ptr<PreviewList> movies;
    std::unique_ptr<PreviewList> demos;
};

const PreviewLists& DialogLists(HWND dialog) {
    static const PreviewLists kNone;
    const PreviewLists* lists = DialogData<const PreviewLists>(dialog);
    return lists ? *lists : kNone;
}

// A list read from the profile file, or none when the file holds no previews.
std::unique_ptr<PreviewList> ReadPreviewList(const char* iniName, const std::string& folder) {
    auto list = std::make_unique<PreviewList>(Win32PreviewHost());
    if (list->Load(iniName, folder.c_str())) return list;
    return nullptr;
}

const char* TemplateFor(bool haveMovies, bool haveDemos) {
    if (haveMovies && haveDemos) return "PREVIEWS";
    return haveDemos ? "DEMOS" : "MOVIES";
}

void FillIfPresent(HWND dialog, int listId, const PreviewList* list) {
    HWND box = GetDlgItem(dialog, listId);
    if (box && list) FillListBox(*list, box);
}

void PlayFrom(HWND dialog, int listId, const PreviewList* list) {
    if (list) LaunchSelected(*list, GetDlgItem(dialog, listId));  // a failed start shows nothing
}

INT_PTR CALLBACK PreviewsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        KeepDialogData<const PreviewLists>(dialog, lParam);
        SetDialogIcon(dialog);
        FillIfPresent(dialog, IDC_MOVIE_LIST, DialogLists(dialog).movies.get());
        FillIfPresent(dialog, IDC_DEMO_LIST, DialogLists(dialog).demos.get());
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (wParam) {
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_PLAY_MOVIE:
        PlayFrom(dialog, IDC_MOVIE_LIST, DialogLists(dialog).movies.get());
        return TRUE;
    case IDC_PLAY_DEMO:
        PlayFrom(dialog, IDC_DEMO_LIST, DialogLists(dialog).demos.get());
        return TRUE;
    }
    // A double-click plays the entry it selected, as the list's button does.
    if (HIWORD(wParam) == LBN_DBLCLK) {
        if (LOWORD(wParam) == IDC_MOVIE_LIST) SendMessageA(dialog, WM_COMMAND, IDC_PLAY_MOVIE, 0);
        if (LOWORD(wParam) == IDC_DEMO_LIST) SendMessageA(dialog, WM_COMMAND, IDC_PLAY_DEMO, 0);
    }
    return FALSE;
}

}  // namespace

PreviewHost& Win32PreviewHost() {
    static Win32Host host;
    return host;
}

int ShowPreviews(HINSTANCE instance, HWND owner, DiscFound& disc, const GameTexts& texts, SettingsStore* settings) {
    if (!instance) return 0;
    char drive = 0;
    {
        WaitCursor wait;
        drive = DataDiscDrive(disc, texts, settings);
    }
    if (!drive) {
        ShowGameError(owner, IDS_NO_PREVIEW_DISC, MB_ICONWARNING);
        return 0;
    }
    const std::string moviesFolder = std::string(1, drive) + ":\\Previews\\Movies";
    const std::string demosFolder = std::string(1, drive) + ":\\Previews\\Demos";

    PreviewLists lists;
    {
        WaitCursor wait;
        lists.movies = ReadPreviewList("Movies.ini", moviesFolder);
        lists.demos = ReadPreviewList("Demos.ini", demosFolder);
    }
    if (!lists.movies && !lists.demos) {
        ShowGameError(owner, IDS_NO_PREVIEWS, MB_ICONINFORMATION);
        return 0;
    }
    DialogBoxParamA(instance, TemplateFor(lists.movies != nullptr, lists.demos != nullptr), owner,
                    PreviewsDialogProc, reinterpret_cast<LPARAM>(&lists));
    return 1;
}

bool FillListBox(const PreviewList& list, HWND box) {
    if (!box) return false;
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (const auto& entry : list.entries) {
        LRESULT index = SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry->name.c_str()));
        if (index != LB_ERR) SendMessageA(box, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(entry.get()));
    }
    return true;
}

bool LaunchSelected(const PreviewList& list, HWND box) {
    if (!box) return false;
    LRESULT index = SendMessageA(box, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return false;
    LRESULT data = SendMessageA(box, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR || data == 0) return false;
    // Only entries of this list are opened, whatever else the box may carry.
    auto* entry = reinterpret_cast<const PreviewEntry*>(data);
    if (!list.Holds(entry)) return false;
    return entry->Launch(list.host());
}

}  // namespace velk
