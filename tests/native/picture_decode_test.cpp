// The picture decoders on well-formed and malformed files. Under ASan every
// case also proves that nothing was read or written outside its buffer.
#include <gtest/gtest.h>

#include <climits>

#include "../support/picture_samples.h"
#include "image/memory_picture.h"
#include "image/pcx_runs.h"
#include "image/picture_decode.h"

namespace velk {
namespace {

using samples::Bytes;
using Decoder = bool (*)(ByteSpan, PictureCanvas&);

ByteSpan Span(const Bytes& b) { return ByteSpan(b.data(), b.size()); }

// The picture's rows top first, each cut to width * bytes per pixel.
std::vector<Bytes> RowsOf(const MemoryPicture& p) {
    std::vector<Bytes> rows;
    const size_t bytes = static_cast<size_t>(p.memory.layout.width) * (p.memory.layout.bitsPerPixel / 8);
    for (int32_t r = 0; r < p.memory.layout.height; ++r) rows.emplace_back(p.Row(r), p.Row(r) + bytes);
    return rows;
}

bool AllZero(const MemoryPicture& p) {
    for (uint8_t b : p.pixels)
        if (b) return false;
    return true;
}

TEST(DecodePcxRuns, RunRule) {
    struct Case {
        const char* name;
        Bytes in;
        size_t count;
        Bytes out;      // bytes written
        size_t used;    // input bytes consumed
    };
    const Case cases[] = {
        {"literals", {1, 2, 3}, 3, {1, 2, 3}, 3},
        {"a run", {0xC3, 9}, 3, {9, 9, 9}, 2},
        {"literal of 192 and more needs a run of 1", {0xC1, 0xC8, 5}, 2, {0xC8, 5}, 3},
        {"run cut at the line end, rest of the run dropped", {0xC5, 4, 7}, 3, {4, 4, 4}, 2},
        {"run one longer than the line", {0xC4, 4}, 3, {4, 4, 4}, 2},
        {"run of 0 writes nothing but uses both bytes", {0xC0, 6, 1}, 1, {1}, 3},
        {"longest run", {0xFF, 2}, 63, Bytes(63, 2), 2},
        {"run byte without its value", {1, 0xC4}, 5, {1}, 2},
        {"data end inside the line", {1, 2}, 5, {1, 2}, 2},
        {"stops at the line end", {1, 2, 3, 4}, 2, {1, 2}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes out(c.count + 4, 0xEE);  // the tail shows writes past count
        const uint8_t* in = c.in.data();
        size_t written = DecodePcxRuns(in, c.in.data() + c.in.size(), out.data(), c.count);
        EXPECT_EQ(Bytes(out.begin(), out.begin() + written), c.out);
        EXPECT_EQ(static_cast<size_t>(in - c.in.data()), c.used);
        for (size_t i = c.count; i < out.size(); ++i) EXPECT_EQ(out[i], 0xEE) << "wrote past the line at " << i;
    }
}

samples::PcxFields Pcx(int16_t xmax, int16_t ymax, uint8_t planes = 1, uint16_t bytesPerLine = 0) {
    samples::PcxFields f;
    f.xmax = xmax;
    f.ymax = ymax;
    f.planes = planes;
    f.bytesPerLine = bytesPerLine ? bytesPerLine : static_cast<uint16_t>(xmax + 1);
    return f;
}

TEST(DecodePcxFile, SinglePlaneRowsTopFirst) {
    struct Case {
        const char* name;
        samples::PcxFields fields;
        Bytes lines;
        std::vector<Bytes> rows;
    };
    samples::PcxFields shifted = Pcx(1, 1);
    shifted.xmin = -2;  // negative origin: width 4
    shifted.ymin = 0;
    shifted.bytesPerLine = 4;
    const Case cases[] = {
        {"literals and runs", Pcx(3, 1), {1, 0xC3, 2, 0xC4, 5}, {{1, 2, 2, 2}, {5, 5, 5, 5}}},
        {"run cut at the row end, next row starts fresh", Pcx(2, 1), {0xC5, 4, 7, 8, 9}, {{4, 4, 4}, {7, 8, 9}}},
        {"data end mid-row: the rest stays zero", Pcx(3, 2), {1, 2, 3, 4, 5}, {{1, 2, 3, 4}, {5, 0, 0, 0}, {0, 0, 0, 0}}},
        {"no data at all", Pcx(1, 1), {}, {{0, 0}, {0, 0}}},
        {"padded lines (odd width)", Pcx(2, 1, 1, 4), {1, 2, 3, 99, 4, 5, 6, 99}, {{1, 2, 3}, {4, 5, 6}}},
        {"line length field below the width counts as the width", Pcx(1, 1, 1, 1), {1, 2, 3, 4}, {{1, 2}, {3, 4}}},
        {"negative origin", shifted, {1, 2, 3, 4, 5, 6, 7, 8}, {{1, 2, 3, 4}, {5, 6, 7, 8}}},
        {"a single pixel", Pcx(0, 0), {0xC1, 200}, {{200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPicture picture;
        ASSERT_TRUE(DecodePcxFile(Span(samples::PcxFile(c.fields, c.lines)), picture));
        EXPECT_EQ(picture.memory.layout.bitsPerPixel, 8);
        EXPECT_EQ(RowsOf(picture), c.rows);
    }
}

TEST(DecodePcxFile, ThreePlanesBecomeBlueGreenRed) {
    // Row 0: red 10 20, green 30 40, blue 50 60; row 1 cut after its red plane.
    const Bytes lines = {10, 20, 30, 40, 50, 60, 11, 21};
    MemoryPicture picture;
    ASSERT_TRUE(DecodePcxFile(Span(samples::PcxFile(Pcx(1, 1, 3), lines)), picture));
    EXPECT_EQ(picture.memory.layout.bitsPerPixel, 24);
    EXPECT_EQ(picture.memory.layout.rowLength, 8u);
    std::vector<Bytes> expected = {{50, 30, 10, 60, 40, 20}, {0, 0, 11, 0, 0, 21}};
    EXPECT_EQ(RowsOf(picture), expected);
}

TEST(DecodePcxFile, PlaneCountsWithoutADecoderGiveZeroPictures) {
    struct Case {
        uint8_t planes;
        int32_t bits;
    };
    for (const Case& c : {Case{2, 16}, Case{4, 32}}) {
        SCOPED_TRACE(int(c.planes));
        MemoryPicture picture;
        ASSERT_TRUE(DecodePcxFile(Span(samples::PcxFile(Pcx(4, 2, c.planes), Bytes(64, 0x77))), picture));
        EXPECT_EQ(picture.memory.layout.bitsPerPixel, c.bits);
        EXPECT_EQ(picture.memory.layout.width, 5);
        EXPECT_EQ(picture.memory.layout.height, 3);
        EXPECT_TRUE(AllZero(picture));
    }
}

TEST(DecodePcxFile, MalformedFilesFail) {
    struct Case {
        const char* name;
        samples::PcxFields fields;
        size_t cutTo;  // 0: whole file
    };
    samples::PcxFields fourBits = Pcx(3, 3);
    fourBits.bitsPerPlane = 4;
    samples::PcxFields oneBit = Pcx(3, 3);
    oneBit.bitsPerPlane = 1;
    samples::PcxFields xBackwards = Pcx(3, 3);
    xBackwards.xmin = 10;
    samples::PcxFields yBackwards = Pcx(3, 3);
    yBackwards.ymin = 10;
    samples::PcxFields tooWide = Pcx(32767, 0);
    tooWide.xmin = -32768;
    samples::PcxFields tooBig = Pcx(32767, 32767);  // 32768 x 32768 x 3 bytes
    tooBig.planes = 3;
    const Case cases[] = {
        {"4 bits per plane", fourBits, 0},
        {"1 bit per plane", oneBit, 0},
        {"no planes", Pcx(3, 3, 0), 0},
        {"5 planes", Pcx(3, 3, 5), 0},
        {"Xmax below Xmin", xBackwards, 0},
        {"Ymax below Ymin", yBackwards, 0},
        {"wider than the side limit", tooWide, 0},
        {"more bytes than the limit", tooBig, 0},
        {"header cut short", Pcx(3, 3), 127},
        {"empty file", Pcx(3, 3), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = samples::PcxFile(c.fields, Bytes(16, 1));
        if (c.cutTo) file.resize(c.cutTo == 1 ? 0 : c.cutTo);
        MemoryPicture picture;
        EXPECT_FALSE(DecodePcxFile(Span(file), picture));
    }
}

TEST(DecodePidFile, SkipRunsAndFill) {
    struct Case {
        const char* name;
        uint32_t flags;
        int32_t width, height;
        uint32_t fill;
        Bytes data;
        std::vector<Bytes> rows;
    };
    const uint32_t skip = kPidSkipRuns, fill = kPidFillPresent;
    const Case cases[] = {
        {"skip runs without the fill flag use pixel 0", skip, 4, 1, 0x55, {2, 7, 8, 0x82}, {{7, 8, 0, 0}}},
        {"with the fill flag the value's low byte", skip | fill, 4, 1, 0x1234AB, {0x82, 2, 7, 8}, {{0xAB, 0xAB, 7, 8}}},
        {"literals past the width are dropped", skip, 3, 2, 0, {5, 1, 2, 3, 4, 5, 1, 9}, {{1, 2, 3}, {9, 0, 0}}},
        {"a fill run past the width ends the row", skip | fill, 2, 2, 6, {0x85, 1, 4}, {{6, 6}, {4, 0}}},
        {"controls of length 0 change nothing", skip | fill, 2, 1, 6, {0, 0x80, 2, 1, 2}, {{1, 2}}},
        {"literals cut by the data end", skip, 4, 2, 0, {3, 1, 2}, {{1, 2, 0, 0}, {0, 0, 0, 0}}},
        {"decoding ends after the last row", skip, 1, 1, 0, {1, 5, 1, 6}, {{5}}},
        {"PCX-style runs", 0, 3, 2, 0, {0xC2, 4, 5, 0xC3, 6}, {{4, 4, 5}, {6, 6, 6}}},
        {"PCX-style ignores the fill", fill, 2, 1, 0x33, {0x81, 1}, {{0x81, 1}}},
        {"PCX-style run cut at the row end", 0, 2, 2, 0, {0xC3, 4, 5, 6}, {{4, 4}, {5, 6}}},
        {"no data", skip, 2, 2, 0, {}, {{0, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPicture picture;
        ASSERT_TRUE(DecodePidFile(Span(samples::PidFile(c.flags, c.width, c.height, c.fill, c.data)), picture));
        EXPECT_EQ(picture.memory.layout.bitsPerPixel, 8);
        EXPECT_EQ(RowsOf(picture), c.rows);
    }
}

TEST(DecodeRidFile, PackedRowsTopFirst) {
    struct Case {
        const char* name;
        int32_t width, height;
        Bytes data;
        std::vector<Bytes> rows;
    };
    const Case cases[] = {
        {"whole picture", 3, 2, {1, 2, 3, 4, 5, 6}, {{1, 2, 3}, {4, 5, 6}}},
        {"data cut mid-row", 3, 3, {1, 2, 3, 4}, {{1, 2, 3}, {4, 0, 0}, {0, 0, 0}}},
        {"more data than pixels", 2, 1, {1, 2, 3, 4}, {{1, 2}}},
        {"header only", 2, 2, {}, {{0, 0}, {0, 0}}},
        {"width not a multiple of 4", 5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPicture picture;
        ASSERT_TRUE(DecodeRidFile(Span(samples::RidFile(c.width, c.height, c.data)), picture));
        EXPECT_EQ(RowsOf(picture), c.rows);
    }
}

TEST(DecodeBmpFile, PixelBlockAsStored) {
    struct Case {
        const char* name;
        int32_t width, height;
        uint16_t bits;
        uint32_t rowLength;
        bool topDown;
    };
    const Case cases[] = {
        {"8-bit bottom-up", 3, 2, 8, 4, false},
        {"8-bit top-down", 3, -2, 8, 4, true},
        {"24-bit", 5, 1, 24, 16, false},
        {"16-bit", 3, 2, 16, 8, false},
        {"32-bit", 2, 2, 32, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t rows = c.height < 0 ? -c.height : c.height;
        Bytes block(c.rowLength * rows);
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i + 1);
        MemoryPicture picture;
        ASSERT_TRUE(DecodeBmpFile(Span(samples::BmpFile(c.width, c.height, c.bits, Bytes(1024, 0), block)), picture));
        EXPECT_EQ(picture.memory.layout.rowLength, c.rowLength);
        EXPECT_EQ(picture.memory.layout.topDown, c.topDown);
        EXPECT_EQ(picture.pixels, block);
        // Row 0 is the file's last row unless the file is top-down.
        EXPECT_EQ(picture.Row(0)[0], c.topDown ? 1 : block[(rows - 1) * c.rowLength]);
    }
}

TEST(DecodeBmpFile, MalformedFilesFail) {
    const Bytes table(1024, 0);
    const Bytes block(8, 1);  // 2 x 2 at 8 bits
    struct Case {
        const char* name;
        Bytes file;
    };
    Bytes oneShort = samples::BmpFile(2, 2, 8, table, block);
    oneShort.pop_back();
    Bytes headerCut = samples::BmpFile(2, 2, 8, table, block);
    headerCut.resize(53);
    const Case cases[] = {
        {"pixels one byte short", oneShort},
        {"header cut", headerCut},
        {"empty", {}},
        {"pixel offset past the end", samples::BmpFile(2, 2, 8, table, block, 5000)},
        {"pixel offset at the end", samples::BmpFile(2, 2, 8, table, block, 54 + 1024 + 8)},
        {"largest pixel offset", samples::BmpFile(2, 2, 8, table, block, UINT32_MAX)},
        {"pixel offset leaves too little", samples::BmpFile(2, 2, 8, table, block, 54 + 1024 + 1)},
        {"4-bit", samples::BmpFile(2, 2, 4, table, block)},
        {"negative width", samples::BmpFile(-2, 2, 8, table, block)},
        {"zero height", samples::BmpFile(2, 0, 8, table, block)},
        {"most negative height", samples::BmpFile(2, INT_MIN, 8, table, block)},
        {"width x height overflows", samples::BmpFile(65536, 65536, 32, table, block)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPicture picture;
        EXPECT_FALSE(DecodeBmpFile(Span(c.file), picture));
    }
}

TEST(DecodePackedDib, BitmapResources) {
    using samples::Concat;
    const Bytes block = {1, 2, 3, 0, 4, 5, 6, 0};  // 3 x 2 at 8 bits
    Bytes coreHeader(12, 0);
    coreHeader[0] = 12;
    Bytes hugeHeader = samples::BmpInfoHeader(3, 2, 8);
    samples::PutU32(hugeHeader, 0, 0xFFFFFFF0u);
    Bytes manyColours = samples::BmpInfoHeader(1, 1, 24, 0x40000000u);
    struct Case {
        const char* name;
        Bytes resource;
        bool ok;
    };
    const Case cases[] = {
        {"8-bit with its table", Concat(Concat(samples::BmpInfoHeader(3, 2, 8), Bytes(1024, 0)), block), true},
        {"24-bit without a table", Concat(samples::BmpInfoHeader(1, 2, 24), Bytes(8, 1)), true},
        {"shorter than its header promises", Concat(Concat(samples::BmpInfoHeader(3, 2, 8), Bytes(1024, 0)),
                                                    Bytes(block.begin(), block.end() - 1)), false},
        {"table cut", Concat(samples::BmpInfoHeader(3, 2, 8), Bytes(1000, 0)), false},
        {"core header", Concat(coreHeader, Bytes(64, 0)), false},
        {"header larger than the resource", Concat(hugeHeader, Bytes(2000, 0)), false},
        {"colour count past the end", Concat(manyColours, Bytes(16, 0)), false},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPicture picture;
        ASSERT_EQ(DecodePackedDib(Span(c.resource), picture), c.ok);
        if (c.name == cases[0].name) {
            EXPECT_EQ(picture.pixels, block);
        }
    }
}

TEST(CopyPixels, Layouts) {
    MemoryPicture eight, sixteen;
    PictureMemory m8, m16;
    ASSERT_TRUE(eight.Create(3, 2, 8, &m8));
    ASSERT_TRUE(sixteen.Create(3, 2, 16, &m16));
    const Bytes packed = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(CopyPixels(Span(packed), PixelLayout::PackedRows, m8));
    EXPECT_EQ(eight.pixels, (Bytes{4, 5, 6, 0, 1, 2, 3, 0}));  // bottom-up memory
    EXPECT_FALSE(CopyPixels(Span(packed), PixelLayout::PackedRows, m16)) << "packed rows are 8-bit only";
    EXPECT_FALSE(CopyPixels(Span(packed), PixelLayout::DibBlock, m8)) << "a block needs all 8 bytes";
    EXPECT_TRUE(CopyPixels(Span(Bytes(8, 9)), PixelLayout::DibBlock, m8));
    EXPECT_EQ(eight.pixels, Bytes(8, 9));
}

TEST(Decoders, HeadersThatCannotBeMadeFail) {
    struct Case {
        const char* name;
        Decoder decode;
        Bytes file;
    };
    const Case cases[] = {
        {"PID header cut", DecodePidFile, Bytes(31, 0)},
        {"PID zero width", DecodePidFile, samples::PidFile(kPidSkipRuns, 0, 4, 0, {1})},
        {"PID negative width", DecodePidFile, samples::PidFile(kPidSkipRuns, -4, 4, 0, {1})},
        {"PID zero height", DecodePidFile, samples::PidFile(kPidSkipRuns, 4, 0, 0, {1})},
        {"PID negative height", DecodePidFile, samples::PidFile(kPidSkipRuns, 4, -2, 0, {1})},
        {"PID huge", DecodePidFile, samples::PidFile(kPidSkipRuns, INT_MAX, INT_MAX, 0, {1})},
        {"PID 20000 squared", DecodePidFile, samples::PidFile(0, 20000, 20000, 0, {1})},
        {"RID header cut", DecodeRidFile, Bytes(31, 0)},
        {"RID zero width", DecodeRidFile, samples::RidFile(0, 4, {1})},
        {"RID negative width", DecodeRidFile, samples::RidFile(-1, 4, {1})},
        {"RID negative height", DecodeRidFile, samples::RidFile(4, -2, {1})},
        {"RID most negative height", DecodeRidFile, samples::RidFile(4, INT_MIN, {1})},
        {"RID overflowing product", DecodeRidFile, samples::RidFile(0x10000, 0x10000, {1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPicture picture;
        EXPECT_FALSE(c.decode(Span(c.file), picture));
    }
}

// Every prefix of a valid file must decode safely (ASan watches), and those
// that still hold a header must give a picture of the header's size.
TEST(Decoders, EveryTruncationIsSafe) {
    Bytes planes(6 * 3 * 4);
    for (size_t i = 0; i < planes.size(); ++i) planes[i] = static_cast<uint8_t>(i % 7 == 0 ? 200 : i / 5);
    const Bytes pid = {0x83, 3, 1, 2, 0x81, 0x84, 2, 9, 9, 0x86, 4, 1, 2, 3, 4, 0x82, 0x80, 5, 6, 7, 8, 9};
    struct Case {
        const char* name;
        Decoder decode;
        Bytes file;
        size_t headerBytes;
        int32_t width, height;
    };
    const Case cases[] = {
        {"PCX 1 plane", DecodePcxFile, samples::PcxPicture(6, 12, 1, planes), kPcxHeaderSize, 6, 12},
        {"PCX 3 planes", DecodePcxFile, samples::PcxPicture(6, 4, 3, planes), kPcxHeaderSize, 6, 4},
        {"PID skip runs", DecodePidFile, samples::PidFile(kPidSkipRuns | kPidFillPresent, 6, 4, 3, pid), 32, 6, 4},
        {"PID PCX-style", DecodePidFile, samples::PidFile(0, 6, 4, 0, samples::EncodePcxRuns(planes.data(), 24)), 32,
         6, 4},
        {"RID", DecodeRidFile, samples::RidFile(6, 4, Bytes(planes.begin(), planes.begin() + 24)), 32, 6, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (size_t n = 0; n <= c.file.size(); ++n) {
            Bytes prefix(c.file.begin(), c.file.begin() + n);  // its own allocation: ASan sees its end
            MemoryPicture picture;
            bool ok = c.decode(Span(prefix), picture);
            ASSERT_EQ(ok, n >= c.headerBytes) << n;
            if (!ok) continue;
            ASSERT_EQ(picture.memory.layout.width, c.width);
            ASSERT_EQ(picture.memory.layout.height, c.height);
        }
    }
}

}  // namespace
}  // namespace velk
