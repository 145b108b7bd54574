// Stand-in renderer whose GetSupportedModes returns no list: left out.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {{0, "", "", 0, 0, 0}};
}  // namespace

const StandinTable kStandinTable = {kModes, 0, StandinChain::EndsAtZero, StandinLayout::Heap};
