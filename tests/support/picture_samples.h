// Builders for picture and palette files in memory, byte by byte as the
// formats lay them out: for tests, the fuzz corpus and benchmarks.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace velk::samples {

using Bytes = std::vector<uint8_t>;

inline void PutU16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
inline std::string AsText(const Bytes& b) { return std::string(b.begin(), b.end()); }

// PCX run-length encoding of one line (runs of at most 63; literals below 192 stand alone).
inline Bytes EncodePcxRuns(const uint8_t* data, size_t n) {
    Bytes out;
    for (size_t i = 0; i < n;) {
        size_t run = 1;
        while (i + run < n && run < 63 && data[i + run] == data[i]) ++run;
        if (run > 1 || data[i] >= 192) out.push_back(static_cast<uint8_t>(0xC0 | run));
        out.push_back(data[i]);
        i += run;
    }
    return out;
}

struct PcxFields {
    int16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    uint8_t bitsPerPlane = 8;
    uint8_t planes = 1;
    uint16_t bytesPerLine = 0;
};

inline Bytes PcxFile(const PcxFields& f, const Bytes& encodedLines) {
    Bytes b(128, 0);
    b[0] = 10;  // manufacturer
    b[1] = 5;   // version
    b[2] = 1;   // run-length encoded
    b[3] = f.bitsPerPlane;
    PutU16(b, 4, static_cast<uint16_t>(f.xmin));
    PutU16(b, 6, static_cast<uint16_t>(f.ymin));
    PutU16(b, 8, static_cast<uint16_t>(f.xmax));
    PutU16(b, 10, static_cast<uint16_t>(f.ymax));
    b[65] = f.planes;
    PutU16(b, 66, f.bytesPerLine);
    return Concat(b, encodedLines);
}

// A whole PCX picture from plane lines (`planes` lines of `width` bytes per row,
// top row first), optionally followed by a 256-colour palette.
inline Bytes PcxPicture(int width, int height, int planes, const Bytes& planeLines, const Bytes* rgb = nullptr) {
    PcxFields f;
    f.xmax = static_cast<int16_t>(width - 1);
    f.ymax = static_cast<int16_t>(height - 1);
    f.planes = static_cast<uint8_t>(planes);
    f.bytesPerLine = static_cast<uint16_t>(width);
    Bytes lines;
    const size_t lineBytes = static_cast<size_t>(width) * planes;
    for (int r = 0; r < height; ++r) lines = Concat(lines, EncodePcxRuns(planeLines.data() + r * lineBytes, lineBytes));
    Bytes file = PcxFile(f, lines);
    if (rgb) {
        file.push_back(12);  // palette marker
        file = Concat(file, *rgb);
    }
    return file;
}

inline Bytes PidFile(uint32_t flags, int32_t width, int32_t height, uint32_t fill, const Bytes& data) {
    Bytes b(32, 0);
    PutU32(b, 4, flags);
    PutU32(b, 8, static_cast<uint32_t>(width));
    PutU32(b, 12, static_cast<uint32_t>(height));
    PutU32(b, 24, fill);
    return Concat(b, data);
}

inline Bytes RidFile(int32_t width, int32_t height, const Bytes& pixels) {
    Bytes b(32, 0);
    PutU32(b, 8, static_cast<uint32_t>(width));
    PutU32(b, 12, static_cast<uint32_t>(height));
    return Concat(b, pixels);
}

inline Bytes BmpInfoHeader(int32_t width, int32_t height, uint16_t bitsPerPixel, uint32_t colorsUsed = 0) {
    Bytes b(40, 0);
    PutU32(b, 0, 40);
    PutU32(b, 4, static_cast<uint32_t>(width));
    PutU32(b, 8, static_cast<uint32_t>(height));
    PutU16(b, 12, 1);
    PutU16(b, 14, bitsPerPixel);
    PutU32(b, 32, colorsUsed);
    return b;
}

// File header, info header, colour table, pixel block; pixelOffset 0 means right after the table.
inline Bytes BmpFile(int32_t width, int32_t height, uint16_t bitsPerPixel, const Bytes& colorTable,
                     const Bytes& block, uint32_t pixelOffset = 0) {
    Bytes head(14, 0);
    head[0] = 'B';
    head[1] = 'M';
    const uint32_t natural = static_cast<uint32_t>(54 + colorTable.size());
    PutU32(head, 2, static_cast<uint32_t>(natural + block.size()));
    PutU32(head, 10, pixelOffset ? pixelOffset : natural);
    return Concat(Concat(Concat(head, BmpInfoHeader(width, height, bitsPerPixel)), colorTable), block);
}

// A colour table of 256 entries blue, green, red, 0 from a rule.
template <typename Rule>
Bytes ColorTable(Rule rgbOf) {
    Bytes t(1024, 0);
    for (int i = 0; i < 256; ++i) {
        uint32_t rgb = rgbOf(i);
        t[4 * i] = static_cast<uint8_t>(rgb);
        t[4 * i + 1] = static_cast<uint8_t>(rgb >> 8);
        t[4 * i + 2] = static_cast<uint8_t>(rgb >> 16);
    }
    return t;
}

// 768 bytes: entry i is (i, 255 - i, i ^ 0x5A), easy to tell apart.
inline Bytes DistinctRgb() {
    Bytes rgb(768);
    for (int i = 0; i < 256; ++i) {
        rgb[3 * i] = static_cast<uint8_t>(i);
        rgb[3 * i + 1] = static_cast<uint8_t>(255 - i);
        rgb[3 * i + 2] = static_cast<uint8_t>(i ^ 0x5A);
    }
    return rgb;
}

}  // namespace velk::samples
