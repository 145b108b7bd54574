// Pictures in DIB sections: creation, row tables, loading from files and
// from the launcher's own bitmap resource, and drawing through the palette.
#include <gtest/gtest.h>

#include <climits>

#include "image/dib.h"
#include "picture_samples.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;
using samples::Bytes;

HMODULE ThisModule() { return GetModuleHandleA(nullptr); }

std::vector<Bytes> RowsOf(const Dib& dib) {
    std::vector<Bytes> rows;
    const size_t bytes = static_cast<size_t>(dib.width) * (dib.bitsPerPixel / 8);
    for (int32_t r = 0; r < dib.height; ++r) {
        const uint8_t* row = dib.pixels + dib.rowOffsets[r];
        rows.emplace_back(row, row + bytes);
    }
    return rows;
}

bool AllZero(const Dib& dib) {
    for (uint32_t i = 0; i < dib.rowLength * dib.height; ++i)
        if (dib.pixels[i]) return false;
    return true;
}

TEST(Dib, CreateMakesADibSectionAndItsRowTable) {
    struct Case {
        int32_t width, height, bits;
        uint32_t rowLength;
    };
    const Case cases[] = {{321, 3, 8, 324}, {5, 2, 24, 16}, {3, 2, 16, 8}, {2, -3, 32, 8}, {320, 240, 8, 320}};
    WindowDC screen(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " x " << c.bits);
        Dib dib;
        ASSERT_TRUE(dib.Create(screen.get(), c.width, c.height, c.bits));
        const int32_t rows = c.height < 0 ? -c.height : c.height;
        EXPECT_EQ(dib.width, c.width);
        EXPECT_EQ(dib.height, rows);
        EXPECT_EQ(dib.bitsPerPixel, c.bits);
        EXPECT_EQ(dib.rowLength, c.rowLength);

        const BITMAPINFOHEADER& h = dib.info.header;
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, c.width);
        EXPECT_EQ(h.biHeight, c.height);  // as passed
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, c.bits);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(h.biSizeImage + h.biXPelsPerMeter + h.biYPelsPerMeter + h.biClrUsed + h.biClrImportant, 0u);

        // The system agrees on the row length and hands out the same memory.
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectA(dib.bitmap.get(), sizeof(section), &section), static_cast<int>(sizeof(section)));
        EXPECT_EQ(section.dsBm.bmBits, dib.pixels);
        EXPECT_EQ(static_cast<uint32_t>(section.dsBm.bmWidthBytes), c.rowLength);
        EXPECT_TRUE(AllZero(dib));
        for (int32_t r = 0; r < rows; ++r) {
            uint32_t expected = c.height > 0 ? (rows - 1 - r) * c.rowLength : r * c.rowLength;
            ASSERT_EQ(dib.rowOffsets[r], expected) << r;
        }
    }
}

TEST(Dib, EightBitColourAreaHoldsPaletteIndices) {
    WindowDC screen(nullptr);
    Dib dib;
    ASSERT_TRUE(dib.Create(screen.get(), 4, 4, 8));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(dib.info.colors.paletteIndices[i], i);
    Dib trueColour;
    ASSERT_TRUE(trueColour.Create(screen.get(), 4, 4, 24));
    EXPECT_EQ(trueColour.info.colors.paletteIndices[5], 0) << "unused for other depths";
}

TEST(Dib, CreateRefusesSizesThatCannotBeMade) {
    struct Case {
        const char* name;
        int32_t width, height, bits;
    };
    const Case cases[] = {{"zero width", 0, 4, 8},           {"zero height", 4, 0, 8},
                          {"4-bit", 4, 4, 4},                {"negative width", -4, 4, 8},
                          {"overflowing", INT_MAX, INT_MAX, 32}, {"most negative height", 4, INT_MIN, 8}};
    WindowDC screen(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dib dib;
        EXPECT_FALSE(dib.Create(screen.get(), c.width, c.height, c.bits));
        EXPECT_FALSE(dib.bitmap.valid());
        EXPECT_EQ(dib.pixels, nullptr);
        EXPECT_EQ(dib.rowOffsets, nullptr);
    }
}

TEST(Dib, CreateFromPixelsInBothLayouts) {
    WindowDC screen(nullptr);
    const Bytes packed = {1, 2, 3, 4, 5, 6};
    Dib rows;
    ASSERT_TRUE(rows.CreateFromPixels(packed.data(), packed.size(), screen.get(), 3, 2, 8, PixelLayout::PackedRows));
    EXPECT_EQ(RowsOf(rows), (std::vector<Bytes>{{1, 2, 3}, {4, 5, 6}}));

    const Bytes block = {1, 2, 3, 0, 4, 5, 6, 0};
    Dib copy;
    ASSERT_TRUE(copy.CreateFromPixels(block.data(), block.size(), screen.get(), 3, 2, 8, PixelLayout::DibBlock));
    EXPECT_EQ(Bytes(copy.pixels, copy.pixels + 8), block);

    Dib shortBlock;
    EXPECT_FALSE(shortBlock.CreateFromPixels(block.data(), 7, screen.get(), 3, 2, 8, PixelLayout::DibBlock));
    EXPECT_FALSE(shortBlock.bitmap.valid());
    EXPECT_EQ(shortBlock.pixels, nullptr);
}

class DibFilesTest : public ::testing::Test {
protected:
    TempFolder dir_;
    DibManager images_;

    void SetUp() override { images_.Attach(ThisModule(), nullptr); }
    std::string Write(const std::string& name, const Bytes& bytes) {
        std::string path = dir_ / name;
        EXPECT_TRUE(WriteFileText(path, samples::AsText(bytes)));
        return path;
    }
    Bytes Bmp2x2() { return samples::BmpFile(2, 2, 8, Bytes(1024, 0), {1, 2, 0, 0, 3, 4, 0, 0}); }
};

TEST_F(DibFilesTest, TitlePictureFromTheResources) {
    Dib* title = images_.LoadDib("GAME1");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->width, 320);
    EXPECT_EQ(title->height, 240);
    EXPECT_EQ(title->bitsPerPixel, 8);
    ASSERT_EQ(images_.dibs.size(), 1u);
    EXPECT_EQ(images_.dibs[0].get(), title);
    // A real picture, not a blank: many colours of the palette are in use.
    bool used[256] = {};
    int distinct = 0;
    for (uint32_t i = 0; i < 320 * 240; ++i) {
        if (!used[title->pixels[i]]) ++distinct;
        used[title->pixels[i]] = true;
    }
    EXPECT_GT(distinct, 100);
}

TEST_F(DibFilesTest, PicturesByExtension) {
    const std::string bmp = samples::AsText(Bmp2x2());
    struct Case {
        const char* name;  // file written under this name
        bool loads;
    };
    ASSERT_TRUE(MakeFolder(dir_ / "pics.v2"));
    const Case cases[] = {
        {"lower.bmp", true},
        {"MIXED.BmP", true},
        {"pics.v2\\title", false},  // the last dot lies in the folder part: a resource name
        {"title.PAL", false},       // not a picture extension: a resource name
        {"title.bmp.bak", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFileText(dir_ / c.name, bmp));
        Dib* dib = images_.LoadDib((dir_ / c.name).c_str());
        EXPECT_EQ(dib != nullptr, c.loads);
        if (dib) {
            EXPECT_EQ(RowsOf(*dib), (std::vector<Bytes>{{3, 4}, {1, 2}}));
        }
    }
    EXPECT_EQ(images_.dibs.size(), 2u);
}

TEST_F(DibFilesTest, FailedLoadsLeaveNothingBehind) {
    Bytes shortBmp = Bmp2x2();
    shortBmp.pop_back();
    samples::PcxFields fourBits;
    fourBits.xmax = fourBits.ymax = 3;
    fourBits.bitsPerPlane = 4;
    fourBits.bytesPerLine = 4;
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"short.bmp", shortBmp},
        {"offset.bmp", samples::BmpFile(2, 2, 8, Bytes(1024, 0), Bytes(8, 1), 100000)},
        {"four.pcx", samples::PcxFile(fourBits, Bytes(32, 1))},
        {"empty.pcx", {}},
        {"empty.rid", {}},
        {"empty.pid", {}},
        {"header.pid", Bytes(20, 0)},
        {"huge.rid", samples::RidFile(INT_MAX, INT_MAX, {1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(images_.LoadDib(Write(c.name, c.file).c_str()), nullptr);
    }
    EXPECT_EQ(images_.LoadDib((dir_ / "missing.bmp").c_str()), nullptr);
    EXPECT_EQ(images_.LoadDib("NO_SUCH_PICTURE"), nullptr);
    EXPECT_EQ(images_.LoadDib(nullptr), nullptr);
    EXPECT_TRUE(images_.dibs.empty());
}

TEST_F(DibFilesTest, PcxPlanes) {
    const Bytes planes = {10, 20, 30, 40, 50, 60, 11, 21, 31, 41, 51, 61};  // 2 x 2, three planes a row
    Dib* colour = images_.LoadDib(Write("colour.pcx", samples::PcxPicture(2, 2, 3, planes)).c_str());
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->bitsPerPixel, 24);
    EXPECT_EQ(RowsOf(*colour), (std::vector<Bytes>{{50, 30, 10, 60, 40, 20}, {51, 31, 11, 61, 41, 21}}));

    Dib* twoPlanes = images_.LoadDib(Write("two.pcx", samples::PcxPicture(3, 2, 2, Bytes(12, 9))).c_str());
    ASSERT_NE(twoPlanes, nullptr);
    EXPECT_EQ(twoPlanes->width, 3);
    EXPECT_EQ(twoPlanes->height, 2);
    EXPECT_TRUE(AllZero(*twoPlanes));

    Dib* indexed = images_.LoadDib(Write("indexed.PCX", samples::PcxPicture(3, 1, 1, {7, 7, 200})).c_str());
    ASSERT_NE(indexed, nullptr);
    EXPECT_EQ(RowsOf(*indexed), (std::vector<Bytes>{{7, 7, 200}}));
}

TEST_F(DibFilesTest, PidFillAndRidRows) {
    const Bytes runs = {0x82, 2, 5, 6};
    Dib* noFill = images_.LoadDib(Write("a.pid", samples::PidFile(kPidSkipRuns, 4, 1, 0x77, runs)).c_str());
    Dib* fill = images_.LoadDib(
        Write("b.PID", samples::PidFile(kPidSkipRuns | kPidFillPresent, 4, 1, 0x377, runs)).c_str());
    Dib* rid = images_.LoadDib(Write("c.rid", samples::RidFile(2, 2, {1, 2, 3, 4})).c_str());
    ASSERT_NE(noFill, nullptr);
    ASSERT_NE(fill, nullptr);
    ASSERT_NE(rid, nullptr);
    EXPECT_EQ(RowsOf(*noFill), (std::vector<Bytes>{{0, 0, 5, 6}}));
    EXPECT_EQ(RowsOf(*fill), (std::vector<Bytes>{{0x77, 0x77, 5, 6}}));
    EXPECT_EQ(RowsOf(*rid), (std::vector<Bytes>{{1, 2}, {3, 4}}));
}

TEST_F(DibFilesTest, LoadDibGivesBackTheSavedPalette) {
    WindowDC screen(nullptr);
    HPALETTE before = static_cast<HPALETTE>(GetCurrentObject(screen.get(), OBJ_PAL));
    for (const char* name : {"GAME1", "NO_SUCH_PICTURE"}) {
        SCOPED_TRACE(name);
        images_.savedPalette = before;
        images_.LoadDib(name);
        EXPECT_EQ(images_.savedPalette, nullptr);
    }
}

TEST_F(DibFilesTest, DeleteAndReleaseEmptyTheManager) {
    for (int i = 0; i < 12; ++i) ASSERT_NE(images_.LoadDib("GAME1"), nullptr);  // past one block of the list
    EXPECT_EQ(images_.dibs.size(), 12u);
    images_.DeleteDibs();
    EXPECT_TRUE(images_.dibs.empty());
    ASSERT_NE(images_.LoadDib("GAME1"), nullptr);
    ASSERT_NE(images_.LoadPalette("GAME1", kPaletteColorsAsGiven), nullptr);
    images_.ReleaseAll();
    EXPECT_TRUE(images_.dibs.empty());
    EXPECT_TRUE(images_.palettes.empty());
    EXPECT_EQ(images_.module, nullptr);
    EXPECT_EQ(images_.window, nullptr);
    EXPECT_EQ(images_.LoadDib("GAME1"), nullptr) << "no module after ReleaseAll";
}

// The title picture drawn as the title window draws it, into a true-colour
// DIB: what comes out are the palette's colours, not the bitmap's own grey table.
TEST(TitleArt, DrawsInThePaletteColours) {
    DibManager images;
    images.Attach(ThisModule(), nullptr);
    DibPalette* palette = images.LoadPalette("GAME1", kPaletteColorsAsGiven);
    Dib* title = images.LoadDib("GAME1");
    ASSERT_NE(palette, nullptr);
    ASSERT_NE(title, nullptr);
    images.currentPalette = palette;

    WindowDC screen(nullptr);
    Dib target;
    ASSERT_TRUE(target.Create(screen.get(), 320, 240, 32));
    MemoryDC dc(screen.get());
    HGDIOBJ old = SelectObject(dc.get(), target.bitmap.get());
    {
        SelectedPalette selected(dc.get(), palette->palette.get(), false);
        RealizePalette(dc.get());
        SetStretchBltMode(dc.get(), COLORONCOLOR);
        ASSERT_EQ(StretchDIBits(dc.get(), 0, 0, 320, 240, 0, 0, 320, 240, title->pixels, title->bitmapInfo(),
                                DIB_PAL_COLORS, SRCCOPY),
                  240);
    }
    GdiFlush();
    SelectObject(dc.get(), old);

    int colourful = 0;
    for (int y = 0; y < 240; y += 7) {
        for (int x = 0; x < 320; x += 11) {
            const uint8_t index = title->pixels[title->rowOffsets[y] + x];
            const PALETTEENTRY& want = palette->entries.entries[index];
            const uint8_t* got = target.pixels + target.rowOffsets[y] + 4 * x;  // blue, green, red, 0
            ASSERT_EQ(got[2], want.peRed) << x << "," << y;
            ASSERT_EQ(got[1], want.peGreen) << x << "," << y;
            ASSERT_EQ(got[0], want.peBlue) << x << "," << y;
            colourful += !(got[0] == got[1] && got[1] == got[2]);
        }
    }
    EXPECT_GT(colourful, 500) << "the picture came out grey";
}

}  // namespace
}  // namespace velk
