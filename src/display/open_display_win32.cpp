#include "display/open_display.h"

#include "base/dialog_services.h"
#include "display/display_dialog.h"
#include "display/renderer_host_win32.h"
#include "display/saved_choice.h"
#include "resources/ids_strings.h"

namespace velk {

namespace {

// The player must agree to the search once; declining leaves the flag at 0.
bool AcceptDisplayWarning(HWND owner, DisplayChoice& choice) {
    if (choice.warned) return true;
    if (ShowGameError(owner, IDS_DISPLAY_WARNING, MB_OKCANCEL) != IDOK) return false;
    choice.warned = 1;
    return true;
}

}  // namespace

int OpenDisplaySettings(HWND owner, DisplayChoice& choice) {
    if (!AcceptDisplayWarning(owner, choice)) return 0;
    if (!choice.renderers) {
        // Searched once per run; an empty list stays, so later clicks only repeat the message.
        choice.renderers = std::make_unique<RendererList>(&Win32RendererHost());
        choice.renderers->Load("", kEngineSettingsFile);
    }
    if (choice.renderers->items.empty()) {
        ShowGameError(owner, IDS_NO_RENDERER, MB_ICONEXCLAMATION);
        return 0;
    }
    INT_PTR result = ShowDisplayDialog(owner, *choice.renderers);
    // A dialog that could not be made confirms nothing.
    choice.result = result > 0 ? static_cast<int32_t>(result) : 0;
    return choice.result;
}

}  // namespace velk
