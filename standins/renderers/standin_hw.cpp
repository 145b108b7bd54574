// Stand-in hardware renderer for the tests: several cards, one card spread over
// records with differing descriptions, refused sizes, a duplicate, an empty
// card name and empty descriptions. Every record ends at a no-access page, so
// a read past its 532 bytes faults.
#include "standin_renderer.h"

namespace {
const StandinMode kModes[] = {
    {1, "CardA", "Stand-in Card A", 640, 480, 16},
    {1, "", "Stand-in Nameless Card", 640, 480, 16},
    {1, "CardC", "", 640, 480, 16},
    {1, "CardA", "Stand-in Card A", 1280, 1024, 16},
    {1, "CardB", "Stand-in Card B", 800, 600, 16},
    {0, "CardA", "Stand-in Card A, second description", 1024, 768, 32},
    {1, "CardB", "Stand-in Card B", 512, 384, 16},
    {1, "CardB", "Stand-in Card B", 639, 480, 16},
    {1, "CardB", "Stand-in Card B", 640, 479, 16},
    {1, "CardB", "Stand-in Card B", 1024, 768, 16},
    {1, "CardB", "Stand-in Card B", 1024, 768, 16},
    {1, "CardC", "Stand-in Card C", 800, 600, 32},
    {1, "CardC", "", 1280, 960, 32},
};
}  // namespace

const StandinTable kStandinTable = {kModes, sizeof(kModes) / sizeof(kModes[0]),
                                    StandinChain::EndsAtZero, StandinLayout::AgainstGuardPage};
