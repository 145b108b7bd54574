#include "image/pcx_runs.h"

#include <cstring>

namespace velk {

size_t DecodePcxRuns(const uint8_t*& in, const uint8_t* end, uint8_t* out, size_t count) {
    const uint8_t* src = in;
    uint8_t* dst = out;
    uint8_t* const stop = out + count;
    while (dst < stop && src < end) {
        uint8_t b = *src++;
        if (b < 192) {
            *dst++ = b;
            continue;
        }
        if (src == end) break;  // a run byte without its value
        size_t run = b & 63u;
        size_t room = static_cast<size_t>(stop - dst);
        if (run > room) run = room;
        uint8_t value = *src++;
        if (run <= 8) {
            // Short runs are the common case; a loop beats a memset call.
            for (size_t i = 0; i < run; ++i) dst[i] = value;
        } else {
            memset(dst, value, run);
        }
        dst += run;
    }
    in = src;
    return static_cast<size_t>(dst - out);
}

}  // namespace velk
