#include "launcher/title_window.h"

#include <mmsystem.h>  // the SND_ flags
#include <shellapi.h>

#include "advanced/advanced_options.h"
#include "advanced/custom_archives.h"
#include "base/dialog_services.h"
#include "base/multimedia.h"
#include "base/shell_open.h"
#include "base/win32_handles.h"
#include "disc/previews.h"
#include "display/open_display.h"
#include "ids_game.h"
#include "ids_strings.h"

namespace velk {

namespace {

constexpr int kLinkControls[3] = {IDC_GAME_LINK_MAKER, IDC_GAME_LINK_GAME, IDC_GAME_LINK_NEWS};
constexpr UINT kLinkAddresses[3] = {IDS_MAKER_WEB_SITE, IDS_GAME_WEB_SITE, IDS_NEWS_WEB_SITE};

// Posted at WM_INITDIALOG: the window's first appearance.
constexpr UINT kTitleShownMessage = WM_APP + 1;
// Set once the window is painted. What is painted reaches the screen when the
// thread next waits for messages, and a timer's message comes only after such
// a wait: the sound library, slow to load, and the disc search wait for it.
constexpr UINT_PTR kOnScreenTimer = 1;

// Command ids that end the dialog, and with what. The whole command word is
// compared, so only clicks (notification 0) match.
INT_PTR EndingResult(WPARAM command) {
    switch (command) {
    case IDC_GAME_PLAY:
    case IDC_GAME_PLAY_ALT:
        return 1;
    case IDC_GAME_MULTIPLAYER:
        return 5;
    case IDC_GAME_LEAVE:
        return 0;
    case IDC_GAME_SETUP:
    case IDC_GAME_SETUP_ALT:
        return 2;
    default:
        return -1;
    }
}

void LocateGameData(LauncherRun& run) { LocateGameData(run.disc, run.texts, run.settings.get()); }

void OpenAdvanced(HWND window, LauncherRun& run) {
    OpenAdvancedOptions(window, {run.advanced, run.sound, run.settings.get(),
                                 [&run](const EngineSwitches& switches, const std::string& text) {
                                     return PreviewEngineCommandLine(run.ForLaunch(), switches, text);
                                 },
                                 [&run](HWND owner) { return OpenSupportDialog(owner, run.ForSupport()); }});
}

INT_PTR OnCommand(HWND window, LauncherRun& run, WPARAM command) {
    LocateGameData(run);  // the dialogs and the launch need it, should a click come first
    INT_PTR result = EndingResult(command);
    if (result >= 0) {
        EndDialog(window, result);
        return 1;
    }
    switch (command) {
    case IDC_GAME_DISPLAY:
        OpenDisplaySettings(window, run.display);
        InvalidateRect(window, nullptr, FALSE);
        return 1;
    case IDC_GAME_CUSTOMIZE:
        OpenCustomize(window, run);
        InvalidateRect(window, nullptr, FALSE);
        return 1;
    case IDC_GAME_ADVANCED:
        OpenAdvanced(window, run);
        return 1;
    case IDC_GAME_PREVIEWS:
        ShowPreviews(LauncherModule(), window, run.disc, run.texts, run.settings.get());
        return 1;
    case IDC_GAME_WEB_SITE:
        OpenResourceLink(window, IDS_GAME_WEB_SITE, IDS_WEB_NOT_OPENED);
        return 1;
    case IDC_GAME_HELP:
        OpenResourceLink(window, IDS_HELP_FILE, IDS_HELP_NOT_OPENED);
        return 1;
    default:
        return 0;
    }
}

// The mouse position of a message, each coordinate as an unsigned 16-bit value.
void MousePosition(LPARAM lParam, int* x, int* y) {
    *x = static_cast<int>(static_cast<unsigned>(lParam) & 0xFFFF);
    *y = static_cast<int>((static_cast<unsigned>(lParam) >> 16) & 0xFFFF);
}

void TakeLinkRects(HWND window, TitleWindowData& data) {
    for (int i = 0; i < 3; ++i) {
        LinkRect& link = data.linkRects[i];
        HWND control = GetDlgItem(window, kLinkControls[i]);
        RECT r;
        if (!control || !GetWindowRect(control, &r)) {
            link.left = kAbsentLink;
            continue;
        }
        POINT topLeft = {r.left, r.top};
        POINT bottomRight = {r.right, r.bottom};
        ScreenToClient(window, &topLeft);
        ScreenToClient(window, &bottomRight);
        link = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }
}

void SetCursorIfLoaded(HCURSOR cursor) {
    if (cursor) SetCursor(cursor);
}

// The frame static would draw the picture once more over ours, through the
// bitmap's own colour table: while there is a picture of ours, the frame
// leaves its painting to the title window.
constexpr const char* kFrameProcProperty = "velk.frame.proc";

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropA(frame, kFrameProcProperty));
    const TitleWindowData* data = DialogData<TitleWindowData>(GetParent(frame));
    if (data && data->titleDib && data->titleImages) {
        if (message == WM_ERASEBKGND) return 1;
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(frame, &ps);
            EndPaint(frame, &ps);
            PaintTitlePicture(GetParent(frame), data->appActive == 0);
            return 0;
        }
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(frame, kFrameProcProperty);
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    return CallWindowProcA(original, frame, message, wParam, lParam);
}

void TakeOverFramePainting(HWND window) {
    HWND frame = GetDlgItem(window, IDC_GAME_PICTURE);
    if (!frame || GetPropA(frame, kFrameProcProperty)) return;
    LONG_PTR original = SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProc));
    SetPropA(frame, kFrameProcProperty, reinterpret_cast<HANDLE>(original));
}

}  // namespace

int InitTitleWindow(HWND window) {
    TitleWindowData* data = DialogData<TitleWindowData>(window);
    if (!data) return 0;
    TitleWindowData& d = *data;
    const HINSTANCE module = LauncherModule();
    SetDialogIcon(window);
    d.linkCursor = LoadCursorA(module, "WEBHAND");
    d.linkPressedCursor = LoadCursorA(module, "WEBCLICK");
    d.arrowCursor = LoadCursorA(nullptr, IDC_ARROW);

    const std::string& name = d.run.titlePictureName;
    d.titleImages.reset();  // the pictures of an earlier showing go first
    d.titleImages = std::make_unique<DibManager>();
    DibManager& images = *d.titleImages;
    images.Attach(module, window);
    d.titlePalette = images.LoadPalette(name.c_str(), 1);
    if (!d.titlePalette) d.titlePalette = images.LoadPalette("GAME", 1);
    if (!d.titlePalette) d.titlePalette = images.LoadPalette("GAME1", 1);
    images.currentPalette = d.titlePalette;
    d.titleDib = images.LoadDib(name.c_str());

    TakeOverFramePainting(window);
    TakeLinkRects(window, d);
    // The sound library takes longer to load than the rest of the window:
    // the sound starts once the window is on the screen, not before.
    PostMessageA(window, kTitleShownMessage, 0, 0);
    return 1;
}

namespace {

void OnTitleOnScreen(HWND window, LauncherRun& run) {
    KillTimer(window, kOnScreenTimer);
    PlayStartSound(run.titlePictureName.c_str());
    LocateGameData(run);
    if (run.launch.TakeCommandFileFailure()) ShowGameError(window, IDS_COMMAND_FILE_NOT_WRITTEN, MB_ICONEXCLAMATION);
}

// The posted message can come before the dialog manager shows the window.
void OnTitleShown(HWND window, LauncherRun& run) {
    if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    if (!SetTimer(window, kOnScreenTimer, USER_TIMER_MINIMUM, nullptr)) OnTitleOnScreen(window, run);
}

}  // namespace

void PaintTitlePicture(HWND window, bool forceBackground) {
    const TitleWindowData* data = DialogData<TitleWindowData>(window);
    HWND frame = GetDlgItem(window, IDC_GAME_PICTURE);
    if (!data || !data->titleImages || !data->titleDib || !frame) return;
    DibManager& images = *data->titleImages;
    const Dib& picture = *data->titleDib;

    RECT r;
    GetWindowRect(frame, &r);
    POINT origin = {r.left, r.top};
    ScreenToClient(window, &origin);
    const int width = r.right - r.left - 1;
    const int height = r.bottom - r.top - 1;

    HDC dc = GetDC(images.window);
    if (dc && images.currentPalette) {
        images.savedPalette = SelectPalette(dc, images.currentPalette->palette.get(), forceBackground);
        RealizePalette(dc);
    }
    if (dc) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, origin.x, origin.y, width, height, 0, 0, picture.width, picture.height, picture.pixels,
                      picture.bitmapInfo(), picture.bitsPerPixel == 8 ? DIB_PAL_COLORS : DIB_RGB_COLORS, SRCCOPY);
        if (images.savedPalette) {
            SelectPalette(dc, images.savedPalette, FALSE);
            images.savedPalette = nullptr;
        }
        ReleaseDC(images.window, dc);
    }
}

int HitTestLinks(HWND window, WPARAM keyFlags, int x, int y) {
    const TitleWindowData* data = DialogData<TitleWindowData>(window);
    if (!data) return 0;
    int link = HitTestLinkRects(data->linkRects, x, y);
    if (link == 0) {
        SetCursorIfLoaded(data->arrowCursor);
        return 0;
    }
    SetCursorIfLoaded((keyFlags & MK_LBUTTON) ? data->linkPressedCursor : data->linkCursor);
    return link;
}

bool OpenResourceLink(HWND owner, UINT stringId, UINT errorStringId) {
    std::string target = LoadResString(stringId);
    if (target.empty()) return false;
    HINSTANCE result = ShellOpen(owner, target.c_str());
    if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    if (errorStringId > 0) ShowGameError(owner, errorStringId, MB_ICONEXCLAMATION);
    return false;
}

bool PlayStartSound(const char* name) {
    if (!name) return false;
    return PlaySoundResource(name, LauncherModule(), SND_RESOURCE | SND_NODEFAULT | SND_ASYNC) != FALSE;
}

int OpenCustomize(HWND owner, LauncherRun& run) {
    // No template of this name is built into this launcher: the request shows nothing.
    CustomArchivesData data = {run.advanced, run.settings.get()};
    return static_cast<int>(DialogBoxParamA(LauncherModule(), "CUSTOMIZE", owner, CustomArchivesDialogProc,
                                            reinterpret_cast<LPARAM>(&data)));
}

INT_PTR CALLBACK TitleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        KeepDialogData<TitleWindowData>(window, lParam);
        InitTitleWindow(window);
        return 1;
    }
    TitleWindowData* data = DialogData<TitleWindowData>(window);
    if (!data) return 0;
    int x = 0, y = 0;
    switch (message) {
    case WM_PAINT:
        PaintTitlePicture(window, data->appActive == 0);
        return 0;  // the dialog manager finishes the painting
    case WM_ACTIVATEAPP:
        data->appActive = wParam ? 1 : 0;
        PaintTitlePicture(window, wParam == 0);
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != window) PaintTitlePicture(window, data->appActive == 0);
        return 0;
    case WM_SETCURSOR:
        return 1;  // the cursor stays as the hit test set it
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
        MousePosition(lParam, &x, &y);
        HitTestLinks(window, wParam, x, y);
        return 1;
    case WM_LBUTTONUP: {
        MousePosition(lParam, &x, &y);
        int link = HitTestLinks(window, wParam, x, y);
        if (link) OpenResourceLink(window, kLinkAddresses[link - 1], IDS_WEB_NOT_OPENED);
        return 1;
    }
    case WM_LBUTTONDBLCLK:
        return 1;
    case WM_COMMAND:
        return OnCommand(window, data->run, wParam);
    case kTitleShownMessage:
        OnTitleShown(window, data->run);
        return 1;
    case WM_TIMER:
        if (wParam != kOnScreenTimer) return 0;
        OnTitleOnScreen(window, data->run);
        return 1;
    default:
        return 0;
    }
}

int ShowTitleWindow(LauncherRun& run) {
    TitleWindowData data(run);
    return static_cast<int>(
        DialogBoxParamA(LauncherModule(), "GAME", nullptr, TitleWindowProc, reinterpret_cast<LPARAM>(&data)));
}

}  // namespace velk
