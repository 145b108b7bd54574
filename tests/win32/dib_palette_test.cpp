// Logical palettes: the file and resource formats, the manager's palette
// list, and the static colours of a palette display.
#include <gtest/gtest.h>

#include "image/dib.h"
#include "picture_samples.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;
using samples::Bytes;

bool SameColours(const DibPalette& palette, const Bytes& rgb) {
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = palette.entries.entries[i];
        if (e.peRed != rgb[3 * i] || e.peGreen != rgb[3 * i + 1] || e.peBlue != rgb[3 * i + 2] || e.peFlags)
            return false;
    }
    return true;
}

class DibPaletteTest : public ::testing::Test {
protected:
    TempFolder dir_;
    DibManager images_;
    const Bytes rgb_ = samples::DistinctRgb();

    void SetUp() override { images_.Attach(GetModuleHandleA(nullptr), nullptr); }
    std::string Write(const std::string& name, const Bytes& bytes) {
        std::string path = dir_ / name;
        EXPECT_TRUE(WriteFileText(path, samples::AsText(bytes)));
        return path;
    }
};

TEST_F(DibPaletteTest, TitlePaletteFromTheResources) {
    DibPalette* palette = images_.LoadPalette("GAME1", kPaletteColorsAsGiven);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->entries.version, 0x300);
    EXPECT_EQ(palette->entries.count, 256);
    // The handle holds exactly the entries, and they are the resource's triplets.
    HRSRC found = FindResourceA(GetModuleHandleA(nullptr), "GAME1", "PALETTE");
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(SizeofResource(GetModuleHandleA(nullptr), found), 768u);
    auto bytes = static_cast<const uint8_t*>(LockResource(LoadResource(GetModuleHandleA(nullptr), found)));
    EXPECT_TRUE(SameColours(*palette, Bytes(bytes, bytes + 768)));
    PALETTEENTRY fromHandle[256];
    ASSERT_EQ(GetPaletteEntries(palette->palette.get(), 0, 256, fromHandle), 256u);
    EXPECT_EQ(memcmp(fromHandle, palette->entries.entries, sizeof(fromHandle)), 0);
}

TEST_F(DibPaletteTest, FormatsByExtension) {
    Bytes pcx = samples::PcxPicture(2, 1, 1, {1, 2}, &rgb_);
    Bytes bmpTable(1024);
    for (int i = 0; i < 256; ++i) {
        bmpTable[4 * i] = rgb_[3 * i + 2];
        bmpTable[4 * i + 1] = rgb_[3 * i + 1];
        bmpTable[4 * i + 2] = rgb_[3 * i];
        bmpTable[4 * i + 3] = 0xEE;  // the reserved byte is not a flag
    }
    Bytes bmp = samples::BmpFile(1, 1, 8, bmpTable, Bytes(4, 0));
    struct Case {
        const char* name;
        Bytes file;
        bool loads;
    };
    const Case cases[] = {
        {"exact.pal", rgb_, true},
        {"UPPER.PAL", rgb_, true},
        {"short.pal", Bytes(rgb_.begin(), rgb_.end() - 1), false},
        {"long.pal", samples::Concat(rgb_, {0}), false},
        {"empty.pal", {}, false},
        {"title.pcx", pcx, true},
        {"tiny.Pcx", Bytes(700, 1), false},
        {"title.bmp", bmp, true},
        {"headers.bmp", Bytes(bmp.begin(), bmp.begin() + 54), false},
        {"title.pid", rgb_, false},  // not a palette extension: a resource name
        {"title.RID", rgb_, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibPalette* palette = images_.LoadPalette(Write(c.name, c.file).c_str(), kPaletteColorsAsGiven);
        ASSERT_EQ(palette != nullptr, c.loads);
        if (palette) {
            EXPECT_TRUE(SameColours(*palette, rgb_));
        }
    }
    EXPECT_EQ(images_.LoadPalette((dir_ / "missing.pal").c_str(), 1), nullptr);
    EXPECT_EQ(images_.LoadPalette("NO_SUCH_PALETTE", 1), nullptr);
    EXPECT_EQ(images_.LoadPalette(nullptr, 1), nullptr);
    EXPECT_EQ(images_.palettes.size(), 4u);
}

TEST_F(DibPaletteTest, CurrentPaletteBelongsToTheCaller) {
    DibPalette* first = images_.LoadPalette("GAME1", 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(images_.currentPalette, nullptr) << "loading does not choose";
    images_.currentPalette = first;
    ASSERT_NE(images_.LoadPalette(Write("second.pal", rgb_).c_str(), 1), nullptr);
    EXPECT_EQ(images_.LoadPalette("NO_SUCH_PALETTE", 1), nullptr);
    EXPECT_EQ(images_.currentPalette, first);
    images_.DeletePalettes();
    EXPECT_EQ(images_.currentPalette, nullptr);
    EXPECT_TRUE(images_.palettes.empty());
}

TEST(PaletteDisplay, WineReportsTrueColourAndNoStaticColoursGoIn) {
    WindowDC screen(nullptr);
    const bool palettized = (GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) != 0;
    EXPECT_EQ(IsPaletteDisplay(), palettized);
    ASSERT_FALSE(palettized) << "the test display is expected to be true colour";

    const Bytes rgb = samples::DistinctRgb();
    for (uint32_t flags : {0u, 1u}) {
        SCOPED_TRACE(flags);
        DibPalette palette;
        ASSERT_TRUE(palette.CreateFromRgb(rgb.data(), flags));
        EXPECT_TRUE(SameColours(palette, rgb)) << "own colours, all flags 0, whatever the flags";
    }
}

// An 8-bit display's system palette: entry i is (i, 0, 255) so that its
// entries can be told from the picture's, and requests outside it are counted.
class FakeSystemPalette final : public SystemPalette {
public:
    FakeSystemPalette(int32_t size, int32_t reserved) : size_(size), reserved_(reserved) {}
    int32_t Size() override { return size_; }
    int32_t ReservedCount() override { return reserved_; }
    void GetEntries(uint32_t first, uint32_t count, PALETTEENTRY* out) override {
        if (first + count > static_cast<uint32_t>(size_)) ++outOfRange;
        for (uint32_t i = 0; i < count; ++i) out[i] = PALETTEENTRY{static_cast<BYTE>(first + i), 0, 255, 0};
    }
    int outOfRange = 0;

private:
    int32_t size_, reserved_;
};

TEST(PaletteDisplay, StaticColoursOnAPaletteDisplay) {
    struct Case {
        const char* name;
        int32_t size, reserved;
        uint32_t flags;
        int perEnd;         // static colours at each end
        int highFirst;      // system entry at palette entry 256 - perEnd
        int reservedFirst, reservedEnd;
    };
    const Case cases[] = {
        {"usual 8-bit display", 256, 20, 0, 10, 246, 10, 246},
        {"colours as given", 256, 20, kPaletteColorsAsGiven, 0, 0, 0, 0},
        {"16-colour display", 16, 16, 0, 8, 8, 8, 8},
        {"nothing reserved", 256, 0, 0, 0, 0, 0, 256},
        {"reserved count past the palette", 256, 600, 0, 128, 128, 128, 128},
    };
    const Bytes rgb = samples::DistinctRgb();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystemPalette system(c.size, c.reserved);
        DibPalette palette;
        ASSERT_TRUE(palette.CreateFromEntries(ColorsFromRgb(rgb.data()), c.flags, &system));
        EXPECT_EQ(system.outOfRange, 0);
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& e = palette.entries.entries[i];
            const bool low = i < c.perEnd, high = i >= 256 - c.perEnd;
            if (low || high) {
                ASSERT_EQ(e.peRed, low ? i : c.highFirst + (i - (256 - c.perEnd))) << i;
                ASSERT_EQ(e.peBlue, 255) << i;
            } else {
                ASSERT_EQ(e.peRed, rgb[3 * i]) << i;
                ASSERT_EQ(e.peBlue, rgb[3 * i + 2]) << i;
            }
            const bool reserved = i >= c.reservedFirst && i < c.reservedEnd;
            ASSERT_EQ(e.peFlags, reserved ? PC_RESERVED : 0) << i;
        }
        PALETTEENTRY fromHandle[256];
        ASSERT_EQ(GetPaletteEntries(palette.palette.get(), 0, 256, fromHandle), 256u);
        EXPECT_EQ(memcmp(fromHandle, palette.entries.entries, sizeof(fromHandle)), 0);
    }
}

}  // namespace
}  // namespace velk
