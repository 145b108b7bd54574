#include "display/open_display.h"

#include "base/dialog_services.h"
#include "display/display_dialog.h"
#include "display/renderer_host_win32.h"
#include "launcher/launcher_state.h"
#include "resources/ids_strings.h"

namespace velk {

namespace {

constexpr const char* kEngineSettingsFile = "autoexec.cfg";

// The player must agree to the search once; declining leaves the flag at 0.
bool AcceptDisplayWarning(HWND owner, LauncherState& s) {
    if (s.displayWarned) return true;
    if (ShowError(owner, IDS_DISPLAY_WARNING, s.gameTitle.c_str(), MB_OKCANCEL) != IDOK) return false;
    s.displayWarned = 1;
    return true;
}

}  // namespace

int OpenDisplaySettings(HWND owner) {
    LauncherState& s = State();
    if (!AcceptDisplayWarning(owner, s)) return 0;
    if (!s.renderers) {
        // Searched once per run; an empty list stays, so later clicks only repeat the message.
        s.renderers = std::make_unique<RendererList>(&Win32RendererHost());
        s.renderers->Load("", kEngineSettingsFile);
    }
    if (s.renderers->items.empty()) {
        ShowError(owner, IDS_NO_RENDERER, s.gameTitle.c_str(), MB_ICONEXCLAMATION);
        return 0;
    }
    INT_PTR result = ShowDisplayDialog(owner, *s.renderers);
    // A dialog that could not be made confirms nothing.
    s.displayResult = result > 0 ? static_cast<int32_t>(result) : 0;
    return s.displayResult;
}

std::string BuildDisplayFragment() {
    const LauncherState& s = State();
    return s.renderers ? BuildDisplayFragment(*s.renderers) : std::string();
}

}  // namespace velk
