// A read-only view of bytes with bounds-checked little-endian reads, so that
// decoders never look outside the data they were given.
#pragma once
#include <cstddef>
#include <cstdint>

namespace velk {

struct ByteSpan {
    const uint8_t* data = nullptr;
    size_t size = 0;

    ByteSpan() = default;
    ByteSpan(const uint8_t* bytes, size_t count) : data(bytes), size(bytes ? count : 0) {}

    bool Holds(size_t offset, size_t count) const { return offset <= size && count <= size - offset; }
    // The bytes from `offset` on (empty when offset lies past the end).
    ByteSpan From(size_t offset) const { return offset < size ? ByteSpan(data + offset, size - offset) : ByteSpan(); }

    uint8_t U8(size_t offset) const { return Holds(offset, 1) ? data[offset] : 0; }
    uint16_t U16(size_t offset) const {
        return Holds(offset, 2) ? static_cast<uint16_t>(data[offset] | data[offset + 1] << 8) : 0;
    }
    uint32_t U32(size_t offset) const {
        if (!Holds(offset, 4)) return 0;
        return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
               static_cast<uint32_t>(data[offset + 2]) << 16 | static_cast<uint32_t>(data[offset + 3]) << 24;
    }
    int16_t I16(size_t offset) const { return static_cast<int16_t>(U16(offset)); }
    int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
};

}  // namespace velk
