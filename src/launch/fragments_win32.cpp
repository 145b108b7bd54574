#include "launch/launch_engine.h"

#include "display/open_display.h"
#include "launcher/launcher_state.h"

namespace velk {

// The display choice counts only after OK in the last display dialog.
std::string BuildDisplayFragmentForLaunch(bool* confirmed) {
    const LauncherState& s = State();
    *confirmed = s.displayResult != 0 && s.renderers != nullptr;
    return *confirmed ? BuildDisplayFragment() : std::string();
}

}  // namespace velk
