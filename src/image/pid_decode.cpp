// PID pictures: a 32-byte header, then 8-bit pixels top row first, encoded
// either as skip runs (runs of a fill pixel and literal runs) or PCX-style.
#include <algorithm>
#include <cstring>

#include "image/pcx_runs.h"
#include "image/picture_decode.h"

namespace velk {

namespace {

constexpr uint8_t kFillRunBase = 128;

// Control bytes of 128 and more write (c - 128) fill pixels, smaller ones
// that many literal pixels. A run that reaches the width ends the row; what
// lies past the width is dropped.
void DecodeSkipRuns(const uint8_t* in, const uint8_t* end, uint8_t fill, const PixelRows& rows) {
    const size_t width = static_cast<size_t>(rows.width);
    int32_t r = 0;
    size_t column = 0;
    while (r < rows.height && in < end) {
        uint8_t control = *in++;
        uint8_t* dst = rows.Row(r) + column;
        size_t room = width - column;
        size_t run;
        if (control >= kFillRunBase) {
            run = control - kFillRunBase;
            memset(dst, fill, std::min(run, room));
        } else {
            run = control;
            size_t available = std::min(run, static_cast<size_t>(end - in));
            memcpy(dst, in, std::min(available, room));
            in += available;
        }
        column += run;
        if (column >= width) {
            ++r;
            column = 0;
        }
    }
}

void DecodePcxStyleRows(const uint8_t* in, const uint8_t* end, const PixelRows& rows) {
    const size_t width = static_cast<size_t>(rows.width);
    for (int32_t r = 0; r < rows.height && in < end; ++r) DecodePcxRuns(in, end, rows.Row(r), width);
}

}  // namespace

bool ReadPidHeader(ByteSpan file, PidHeader* header) {
    if (!file.Holds(0, kPidHeaderSize)) return false;
    header->flags = file.U32(4);
    header->width = file.I32(8);
    header->height = file.I32(12);
    header->fillPixel = (header->flags & kPidFillPresent) ? file.U8(24) : 0;
    return true;
}

void DecodePidPixels(ByteSpan file, const PidHeader& header, const PixelRows& rows) {
    if (rows.bytesPerPixel != 1 || rows.width <= 0) return;
    ByteSpan data = file.From(kPidHeaderSize);
    const uint8_t* end = data.data + data.size;
    if (header.flags & kPidSkipRuns) {
        DecodeSkipRuns(data.data, end, header.fillPixel, rows);
    } else {
        DecodePcxStyleRows(data.data, end, rows);
    }
}

bool DecodePidFile(ByteSpan file, PictureCanvas& canvas) {
    PidHeader header;
    if (!ReadPidHeader(file, &header)) return false;
    PictureMemory picture;
    if (!CreateCountedRows(canvas, header.width, header.height, 8, &picture)) return false;
    DecodePidPixels(file, header, picture.Rows());
    return true;
}

}  // namespace velk
