// Stand-in software renderer of the demo game folder.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {0, "software", "Stand-in Software Rasterizer", 640, 480, 16},
    {0, "software", "Stand-in Software Rasterizer", 800, 600, 16},
    {0, "software", "Stand-in Software Rasterizer", 1024, 768, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, sizeof(kModes) / sizeof(kModes[0]),
                                    StandinChain::EndsAtZero, StandinLayout::Heap};
