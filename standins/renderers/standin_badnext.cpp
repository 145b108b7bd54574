// Stand-in renderer whose last record points 100 bytes before a no-access
// page: a whole record cannot be read there.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "Edge", "Stand-in Edge Card", 640, 480, 16},
    {1, "Edge", "Stand-in Edge Card", 800, 600, 16},
};
}  // namespace

const StandinTable kStandinTable = {kModes, 2, StandinChain::EndsInGuardPage, StandinLayout::AgainstGuardPage};
