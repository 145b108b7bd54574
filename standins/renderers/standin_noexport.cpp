// Stand-in renderer built without the FreeModeList export: left out.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "Lost", "Stand-in Lost Card", 640, 480, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, 1, StandinChain::EndsAtZero, StandinLayout::Heap};
