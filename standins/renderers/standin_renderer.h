// Stand-in renderer modules: ours, built only so that the launcher's renderer
// discovery can be run and tested. They describe made-up cards and modes and
// render nothing. Each module's source gives its mode table and chain shape;
// standin_renderer.cpp supplies the two exports around it.
#pragma once
#include <cstddef>
#include <cstdint>

// The record the launcher reads: 32-bit values and a 32-bit next address.
struct StandinModeRecord {
    uint32_t hardware;
    char reserved[256];
    char cardName[128];
    char cardDescription[128];
    uint32_t width;
    uint32_t height;
    int32_t bitDepth;
    uint32_t next;  // address of the next record; records live below 4 GiB
};
static_assert(sizeof(StandinModeRecord) == 532, "the launcher reads exactly 532 bytes a record");

struct StandinMode {
    uint32_t hardware;
    const char* cardName;
    const char* cardDescription;
    uint32_t width;
    uint32_t height;
    int32_t bitDepth;
};

enum class StandinChain {
    EndsAtZero,
    LoopsToFirst,     // the last record points back at the first
    EndsInGuardPage,  // the last record points 100 bytes before a no-access page
};

enum class StandinLayout {
    Heap,
    AgainstGuardPage,  // every record ends where a no-access page begins
};

struct StandinTable {
    const StandinMode* modes;
    size_t count;  // 0: GetSupportedModes returns no list
    StandinChain chain;
    StandinLayout layout;
};

// Given by each module's source.
extern const StandinTable kStandinTable;
