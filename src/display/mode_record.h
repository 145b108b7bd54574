// The record through which a renderer module describes one screen mode, and
// the walk along a module's chain of records. The layout is fixed between the
// launcher and the modules: 32-bit little-endian values and 32-bit addresses.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace velk {

// Bytes of a record the launcher reads; nothing beyond them is touched.
constexpr size_t kModeRecordSize = 532;
constexpr size_t kCardTextSize = 128;

// A chain longer than this is taken to be broken and is cut off there.
constexpr size_t kMaxModeRecords = 4096;

struct ModeRecord {
    uint32_t hardware = 0;  // nonzero marks a hardware card
    std::string cardName;
    std::string cardDescription;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t bitDepth = 0;
    uint32_t next = 0;  // address of the next record, 0 ends the chain
};

// The fields of the record held in bytes[0 .. kModeRecordSize). A card text
// without its NUL ends at its field's end.
ModeRecord DecodeModeRecord(const uint8_t* bytes);

// 4:3 modes of at least 640 x 480 (the height scaled in unsigned 32-bit arithmetic).
bool IsListedMode(uint32_t width, uint32_t height);

// Where a module's records are. The launcher's is its own address space.
class RecordMemory {
public:
    virtual ~RecordMemory() = default;
    // The kModeRecordSize bytes at the address, or nullptr when they cannot all be read.
    virtual const uint8_t* RecordAt(uint32_t address) = 0;
};

// Calls visit(record) for each record from `first` along `next`. The walk ends
// at address 0, at an address it cannot read, at an address it has already
// visited (a cycle) or after kMaxModeRecords records. Returns the records visited.
size_t WalkModeRecords(uint32_t first, RecordMemory& memory, const std::function<void(const ModeRecord&)>& visit);

}  // namespace velk
