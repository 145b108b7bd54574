// Stand-in software renderer for the tests: cards without the hardware flag,
// one of them without 640 x 480 x 16 (so it gets no default mode).
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {0, "Soft", "Stand-in Software Rasterizer", 800, 600, 16},
    {0, "Soft", "Stand-in Software Rasterizer", 640, 480, 16},
    {0, "Soft", "Stand-in Software Rasterizer", 1024, 768, 16},
    {0, "SoftWide", "Stand-in Wide Rasterizer", 800, 600, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, sizeof(kModes) / sizeof(kModes[0]),
                                    StandinChain::EndsAtZero, StandinLayout::Heap};
