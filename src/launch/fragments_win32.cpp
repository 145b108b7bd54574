#include "launch/launch_engine.h"

namespace velk {

// The renderer, 3D sound and extra-archive choices have no dialogs in this
// build yet, so none of them adds to the engine command line.
std::string BuildDisplayFragmentForLaunch(bool* confirmed) {
    *confirmed = false;
    return std::string();
}

std::string BuildSoundFragment() { return std::string(); }

std::string BuildArchiveFragment() { return std::string(); }

}  // namespace velk
