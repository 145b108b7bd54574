// Hostile stand-in renderer for the tests: both exports pop their own arguments (__stdcall), so the caller's stack pointer is off.
// Its modes would be listed if the launcher took them.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "Hostile", "Stand-in Hostile Card", 640, 480, 16},
    {1, "Hostile", "Stand-in Hostile Card", 800, 600, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, sizeof(kModes) / sizeof(kModes[0]),
                                    StandinChain::EndsAtZero, StandinLayout::Heap};
