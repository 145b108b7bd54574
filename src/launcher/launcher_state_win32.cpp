#include "launcher/launcher_state.h"

namespace velk {

namespace {
LauncherState& Storage() {
    static LauncherState state;
    return state;
}
}  // namespace

LauncherState& State() { return Storage(); }

void ResetState() { Storage() = LauncherState(); }

}  // namespace velk
