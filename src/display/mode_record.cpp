#include "display/mode_record.h"

#include <cstring>
#include <unordered_set>

namespace velk {

namespace {

constexpr size_t kHardwareOffset = 0;
constexpr size_t kCardNameOffset = 260;
constexpr size_t kCardDescriptionOffset = 388;
constexpr size_t kWidthOffset = 516;
constexpr size_t kHeightOffset = 520;
constexpr size_t kBitDepthOffset = 524;
constexpr size_t kNextOffset = 528;
static_assert(kNextOffset + 4 == kModeRecordSize, "next is the record's last field");

uint32_t ReadLittleEndian32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

std::string ReadCardText(const uint8_t* field) {
    const char* text = reinterpret_cast<const char*>(field);
    const void* nul = memchr(text, '\0', kCardTextSize);
    size_t length = nul ? static_cast<const char*>(nul) - text : kCardTextSize;
    return std::string(text, length);
}

}  // namespace

ModeRecord DecodeModeRecord(const uint8_t* bytes) {
    ModeRecord record;
    record.hardware = ReadLittleEndian32(bytes + kHardwareOffset);
    record.cardName = ReadCardText(bytes + kCardNameOffset);
    record.cardDescription = ReadCardText(bytes + kCardDescriptionOffset);
    record.width = ReadLittleEndian32(bytes + kWidthOffset);
    record.height = ReadLittleEndian32(bytes + kHeightOffset);
    record.bitDepth = static_cast<int32_t>(ReadLittleEndian32(bytes + kBitDepthOffset));
    record.next = ReadLittleEndian32(bytes + kNextOffset);
    return record;
}

bool IsListedMode(uint32_t width, uint32_t height) {
    uint32_t scaled = height * 4u;  // wraps like the modules' own 32-bit arithmetic
    return width >= 640 && height >= 480 && width == scaled / 3u;
}

size_t WalkModeRecords(uint32_t first, RecordMemory& memory, const std::function<void(const ModeRecord&)>& visit) {
    std::unordered_set<uint32_t> visited;
    size_t count = 0;
    for (uint32_t address = first; address != 0 && count < kMaxModeRecords; ++count) {
        if (!visited.insert(address).second) break;
        const uint8_t* bytes = memory.RecordAt(address);
        if (!bytes) break;
        ModeRecord record = DecodeModeRecord(bytes);
        visit(record);
        address = record.next;
    }
    return count;
}

}  // namespace velk
