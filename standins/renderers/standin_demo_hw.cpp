// Stand-in hardware renderer of the demo game folder: a primary display with
// the usual 4:3 modes and a second 3D card.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "display", "Stand-in Primary Display", 640, 480, 16},
    {1, "display", "Stand-in Primary Display", 640, 480, 32},
    {1, "display", "Stand-in Primary Display", 800, 600, 16},
    {1, "display", "Stand-in Primary Display", 800, 600, 32},
    {1, "display", "Stand-in Primary Display", 1024, 768, 16},
    {1, "display", "Stand-in Primary Display", 1024, 768, 32},
    {1, "display", "Stand-in Primary Display", 1280, 1024, 32},
    {1, "display", "Stand-in Primary Display", 1280, 960, 32},
    {1, "display", "Stand-in Primary Display", 1600, 1200, 32},
    {1, "accel3d", "Stand-in 3D Accelerator", 640, 480, 16},
    {1, "accel3d", "Stand-in 3D Accelerator", 800, 600, 16},
    {1, "accel3d", "Stand-in 3D Accelerator", 1024, 768, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, sizeof(kModes) / sizeof(kModes[0]),
                                    StandinChain::EndsAtZero, StandinLayout::Heap};
