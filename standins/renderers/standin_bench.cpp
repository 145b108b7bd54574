// Stand-in renderer for the discovery benchmark: 200 records over four cards,
// a quarter of them refused by the launcher's size test.
#include "standin_renderer.h"

namespace {
struct Table {
    StandinMode modes[200];
    Table() {
        static const char* const names[] = {"bench0", "bench1", "bench2", "bench3"};
        static const uint32_t sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}};
        for (int i = 0; i < 200; ++i) {
            const uint32_t* size = sizes[i % 5];
            modes[i] = {1, names[i % 4], "Stand-in Benchmark Card", size[0], size[1], 8 + 8 * (i % 4)};
        }
    }
};
const Table kTable;
}  // namespace

const StandinTable kStandinTable = {kTable.modes, 200, StandinChain::EndsAtZero, StandinLayout::Heap};
