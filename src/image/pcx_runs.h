// The PCX run rule, shared by PCX pictures and PID files with PCX-style runs.
#pragma once
#include <cstddef>
#include <cstdint>

namespace velk {

// Decodes up to `count` bytes from [in, end) into `out`: a byte of 192 or more
// repeats the next byte (its low six bits) times, any other byte stands for
// itself. A run that reaches past `count` is cut there; a run of 0 writes
// nothing but still uses both bytes. Advances `in`; returns the bytes written,
// fewer than `count` only when the data ended.
size_t DecodePcxRuns(const uint8_t*& in, const uint8_t* end, uint8_t* out, size_t count);

}  // namespace velk
