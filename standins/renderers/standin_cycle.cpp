// Stand-in renderer whose chain loops back to its first record.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "Loop", "Stand-in Loop Card", 640, 480, 16},
    {1, "Loop", "Stand-in Loop Card", 800, 600, 16},
    {1, "Loop", "Stand-in Loop Card", 1024, 768, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, 3, StandinChain::LoopsToFirst, StandinLayout::Heap};
