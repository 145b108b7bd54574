// Row lengths and row tables, name dispatch, palette formats and the
// placement of a palette display's static colours.
#include <gtest/gtest.h>

#include <climits>

#include "../support/picture_samples.h"
#include "image/palette_decode.h"
#include "image/picture_layout.h"
#include "image/picture_name.h"

namespace velk {
namespace {

using samples::Bytes;

TEST(DibRowLength, RoundsBytesUpToFour) {
    struct Case {
        int32_t width, bits;
        uint32_t expected;
    };
    const Case cases[] = {
        {321, 8, 324}, {5, 24, 16}, {1, 8, 4}, {4, 8, 4}, {3, 24, 12}, {1, 16, 4},
        {3, 16, 8},    {1, 32, 4},  {0, 8, 0}, {-1, 8, 0}, {INT_MAX, 32, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.bits);
        EXPECT_EQ(DibRowLength(c.width, c.bits), c.expected);
    }
}

TEST(MakeDibLayout, RefusesPicturesThatCannotBeMade) {
    struct Case {
        const char* name;
        int32_t width, height, bits;
    };
    const Case cases[] = {
        {"zero width", 0, 10, 8},
        {"zero height", 10, 0, 8},
        {"negative width", -5, 10, 8},
        {"4-bit", 10, 10, 4},
        {"1-bit", 10, 10, 1},
        {"no depth", 10, 10, 0},
        {"40-bit", 10, 10, 40},
        {"12-bit", 10, 10, 12},
        {"width past the side limit", kMaxPictureSide + 1, 1, 8},
        {"height past the side limit", 1, kMaxPictureSide + 1, 8},
        {"negative height past the limit", 1, -kMaxPictureSide - 1, 8},
        {"most negative height", 1, INT_MIN, 8},
        {"product overflows 32 bits", INT_MAX, INT_MAX, 32},
        {"too many bytes", kMaxPictureSide, kMaxPictureSide, 32},
        {"one row too many", kMaxPictureSide, 4097, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibLayout layout;
        EXPECT_FALSE(MakeDibLayout(c.width, c.height, c.bits, &layout));
    }
}

TEST(MakeDibLayout, FillsTheLayout) {
    struct Case {
        int32_t width, height, bits;
        uint32_t rowLength, imageBytes;
        int32_t rows;
        bool topDown;
    };
    const Case cases[] = {
        {321, 2, 8, 324, 648, 2, false},
        {5, -3, 24, 16, 48, 3, true},
        {1, 1, 8, 4, 4, 1, false},
        {kMaxPictureSide, 4096, 8, 32768, kMaxPictureBytes, 4096, false},  // exactly the limit
        {320, 240, 8, 320, 76800, 240, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " x " << c.bits);
        DibLayout layout;
        ASSERT_TRUE(MakeDibLayout(c.width, c.height, c.bits, &layout));
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.rows);
        EXPECT_EQ(layout.rowLength, c.rowLength);
        EXPECT_EQ(layout.imageBytes, c.imageBytes);
        EXPECT_EQ(layout.topDown, c.topDown);
    }
}

TEST(FillRowOffsets, TopRowIsLastInMemoryUnlessTopDown) {
    DibLayout bottomUp, topDown;
    ASSERT_TRUE(MakeDibLayout(3, 3, 8, &bottomUp));
    ASSERT_TRUE(MakeDibLayout(3, -3, 8, &topDown));
    uint32_t offsets[3];
    FillRowOffsets(bottomUp, offsets);
    EXPECT_EQ(std::vector<uint32_t>(offsets, offsets + 3), (std::vector<uint32_t>{8, 4, 0}));
    FillRowOffsets(topDown, offsets);
    EXPECT_EQ(std::vector<uint32_t>(offsets, offsets + 3), (std::vector<uint32_t>{0, 4, 8}));
}

TEST(PictureSourceOf, ExtensionsAndResourceNames) {
    struct Case {
        const char* name;
        PictureSource picture;
        PaletteSource palette;
    };
    using Pic = PictureSource;
    using Pal = PaletteSource;
    const Case cases[] = {
        {"GAME1", Pic::Resource, Pal::Resource},
        {"title.bmp", Pic::BmpFile, Pal::BmpFile},
        {"TITLE.BMP", Pic::BmpFile, Pal::BmpFile},
        {"title.BmP", Pic::BmpFile, Pal::BmpFile},
        {"art\\title.pcx", Pic::PcxFile, Pal::PcxFile},
        {"title.Pcx", Pic::PcxFile, Pal::PcxFile},
        {"title.rid", Pic::RidFile, Pal::Resource},
        {"title.PID", Pic::PidFile, Pal::Resource},
        {"title.PAL", Pic::Resource, Pal::PalFile},
        {"title.pal", Pic::Resource, Pal::PalFile},
        {"art.v2\\title", Pic::Resource, Pal::Resource},     // last dot in a folder part
        {"art.bmp\\title", Pic::Resource, Pal::Resource},
        {"art.v2\\title.bmp", Pic::BmpFile, Pal::BmpFile},
        {"title.bmp.txt", Pic::Resource, Pal::Resource},
        {"title.bmpx", Pic::Resource, Pal::Resource},
        {"title.bm", Pic::Resource, Pal::Resource},
        {".bmp", Pic::BmpFile, Pal::BmpFile},
        {"bmp", Pic::Resource, Pal::Resource},
        {"title.", Pic::Resource, Pal::Resource},
        {"", Pic::Resource, Pal::Resource},
        {nullptr, Pic::Resource, Pal::Resource},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        EXPECT_EQ(PictureSourceOf(c.name), c.picture);
        EXPECT_EQ(PaletteSourceOf(c.name), c.palette);
    }
}

TEST(PaletteFormats, WhereTheTripletsAre) {
    const Bytes big(2000, 7);
    struct Case {
        const char* name;
        const uint8_t* (*find)(ByteSpan);
        size_t size;
        ptrdiff_t expectedOffset;  // -1: none
    };
    const Case cases[] = {
        {"PAL 767", RgbOfPalFile, 767, -1},
        {"PAL 768", RgbOfPalFile, 768, 0},
        {"PAL 769", RgbOfPalFile, 769, -1},
        {"PAL empty", RgbOfPalFile, 0, -1},
        {"PCX shorter than a palette", RgbOfPcxFile, 767, -1},
        {"PCX exactly a palette", RgbOfPcxFile, 768, 0},
        {"PCX palette at the end", RgbOfPcxFile, 1000, 232},
        {"resource short", RgbOfPaletteResource, 767, -1},
        {"resource exact", RgbOfPaletteResource, 768, 0},
        {"resource longer", RgbOfPaletteResource, 2000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint8_t* found = c.find(ByteSpan(big.data(), c.size));
        if (c.expectedOffset < 0) {
            EXPECT_EQ(found, nullptr);
        } else {
            EXPECT_EQ(found, big.data() + c.expectedOffset);
        }
    }
}

TEST(ColorsFromRgb, WidensTripletsWithFlagsZero) {
    const Bytes rgb = samples::DistinctRgb();
    PaletteColors colors = ColorsFromRgb(rgb.data());
    for (int i : {0, 1, 127, 255}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(colors[i].red, i);
        EXPECT_EQ(colors[i].green, 255 - i);
        EXPECT_EQ(colors[i].blue, i ^ 0x5A);
        EXPECT_EQ(colors[i].flags, 0);
    }
}

TEST(ColorsOfBmpFile, TableAfterTheHeadersTurnedToRgb) {
    const Bytes table = samples::ColorTable([](int i) { return uint32_t(i) << 16 | uint32_t(255 - i) << 8 | 9; });
    const Bytes file = samples::BmpFile(1, 1, 8, table, Bytes(4, 0));
    struct Case {
        const char* name;
        size_t size;
        bool ok;
        int wholeEntries;
    };
    const Case cases[] = {
        {"header cut", 53, false, 0},
        {"no table", 54, false, 0},
        {"one byte of table", 55, true, 0},
        {"two entries and a half", 54 + 10, true, 2},
        {"full table", 54 + 1024, true, 256},
        {"table and pixels", file.size(), true, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaletteColors colors;
        colors.fill(PaletteColor{1, 1, 1, 1});
        ASSERT_EQ(ColorsOfBmpFile(ByteSpan(file.data(), c.size), &colors), c.ok);
        if (!c.ok) continue;
        for (int i = 0; i < 256; ++i) {
            bool held = i < c.wholeEntries;
            ASSERT_EQ(colors[i].red, held ? i : 0) << i;
            ASSERT_EQ(colors[i].green, held ? 255 - i : 0) << i;
            ASSERT_EQ(colors[i].blue, held ? 9 : 0) << i;
            ASSERT_EQ(colors[i].flags, 0) << i;
        }
    }
}

TEST(LayoutStaticColors, PlacesStaticColoursAtBothEnds) {
    struct Case {
        const char* name;
        int32_t size, reserved;
        uint32_t perEnd, highFirst, reservedFirst, reservedEnd;
    };
    const Case cases[] = {
        {"usual 8-bit display", 256, 20, 10, 246, 10, 246},
        {"odd reserved count", 256, 21, 10, 246, 10, 246},
        {"nothing reserved", 256, 0, 0, 256, 0, 256},
        {"16-colour display, all static", 16, 16, 8, 8, 8, 8},
        {"small palette", 64, 20, 10, 54, 10, 54},
        {"larger system palette", 512, 20, 10, 502, 10, 246},
        {"more reserved than entries", 256, 300, 128, 128, 128, 128},
        {"reserved beyond a small palette", 8, 20, 4, 4, 4, 4},
        {"no palette", 0, 20, 0, 0, 0, 0},
        {"nonsense values", -5, -5, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StaticColorLayout layout = LayoutStaticColors(c.size, c.reserved);
        EXPECT_EQ(layout.perEnd, c.perEnd);
        EXPECT_EQ(layout.highSystemFirst, c.highFirst);
        EXPECT_EQ(layout.reservedFirst, c.reservedFirst);
        EXPECT_EQ(layout.reservedEnd, c.reservedEnd);
        // Never outside the logical palette or the system palette.
        EXPECT_LE(layout.reservedEnd, kPaletteSize - layout.perEnd);
        if (layout.perEnd) {
            EXPECT_LE(layout.highSystemFirst + layout.perEnd, uint32_t(c.size));
        }
    }
}

}  // namespace
}  // namespace velk
