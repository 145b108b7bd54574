// Stand-in renderer without string resource 5: listed by its file name.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "Plain", "Stand-in Plain Card", 640, 480, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, 1, StandinChain::EndsAtZero, StandinLayout::Heap};
