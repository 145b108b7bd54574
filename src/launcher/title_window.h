// The title dialog "GAME": picture, start sound, web links and buttons.
#pragma once
#include <windows.h>
#include <memory>

#include "image/dib.h"
#include "launcher/launcher_run.h"
#include "launcher/title_links.h"

namespace velk {

// What the title window keeps while it is open (its WM_INITDIALOG parameter):
// the run it works on, and its picture, palette, cursors and link rectangles.
struct TitleWindowData {
    explicit TitleWindowData(LauncherRun& run) : run(run) {}

    LauncherRun& run;
    std::unique_ptr<DibManager> titleImages;  // made afresh at each showing
    DibPalette* titlePalette = nullptr;       // owned by titleImages
    Dib* titleDib = nullptr;                  // owned by titleImages
    int32_t appActive = 0;
    LinkRect linkRects[3];
    HCURSOR linkCursor = nullptr;
    HCURSOR linkPressedCursor = nullptr;
    HCURSOR arrowCursor = nullptr;
};

// Shows "GAME" modally with no owner; its result: 1 play, 5 multiplayer,
// 2 setup, 0 leave, -1 when it could not be made.
int ShowTitleWindow(LauncherRun& run);

INT_PTR CALLBACK TitleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Each works on the data of the title window it is given.
int InitTitleWindow(HWND window);
void PaintTitlePicture(HWND window, bool forceBackground);
// 0 for no link, 1, 2 or 3 for links 1011, 1013, 1014; sets the cursor.
int HitTestLinks(HWND window, WPARAM keyFlags, int x, int y);

bool OpenResourceLink(HWND owner, UINT stringId, UINT errorStringId);
bool PlayStartSound(const char* name);
int OpenCustomize(HWND owner, LauncherRun& run);

}  // namespace velk
