#include "launcher/launcher_state.h"

#include "base/dialog_services.h"

namespace velk {

namespace {
LauncherState& Bound(LauncherState& state) {
    // The shared dialog services read these two fields for the whole run.
    BindDialogResources(&state.instance, &state.gameTitle);
    return state;
}

LauncherState& Storage() {
    static LauncherState state;
    static LauncherState& bound = Bound(state);
    return bound;
}
}  // namespace

LauncherState& State() { return Storage(); }

void ResetState() { Storage() = LauncherState(); }

}  // namespace velk
