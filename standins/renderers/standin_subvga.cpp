// Stand-in renderer offering only modes below 640 x 480 or not 4:3: listed, with no cards.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "Small", "Stand-in Small Card", 320, 240, 16},
    {1, "Small", "Stand-in Small Card", 512, 384, 16},
    {1, "Small", "Stand-in Small Card", 640, 400, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, 3, StandinChain::EndsAtZero, StandinLayout::Heap};
