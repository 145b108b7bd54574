// The title window of the real launcher, looked at and used as a player would.
#include <gtest/gtest.h>

#include <algorithm>

#include "launcher_driver.h"

namespace velk::test {
namespace {

constexpr DWORD kWait = kPatience;

// The title art as committed: the picture's palette indices and the palette.
struct TitleArt {
    int width = 0, height = 0;
    std::vector<BYTE> indices;       // top row first
    std::vector<BYTE> palette;       // 768 bytes, RGB
    std::vector<BYTE> ownColours;    // the bitmap's own colour table, BGRX
    bool Load() {
        std::string bmp, pal;
        const std::string art = WindowsPath(VELK_SOURCE_DIR) + "\\src\\resources\\art\\";
        if (!ReadFileText(art + "game1.bmp", &bmp) || !ReadFileText(art + "game1.pal", &pal)) return false;
        if (pal.size() != 768 || bmp.size() < 54 + 1024) return false;
        palette.assign(pal.begin(), pal.end());
        auto u32 = [&](size_t at) { return *reinterpret_cast<const uint32_t*>(bmp.data() + at); };
        width = static_cast<int>(u32(18));
        height = static_cast<int>(u32(22));
        const size_t offset = u32(10);
        const size_t header = u32(14);
        ownColours.assign(bmp.begin() + 14 + header, bmp.begin() + 14 + header + 1024);
        const int stride = (width + 3) & ~3;
        if (bmp.size() < offset + size_t(stride) * height) return false;
        indices.resize(size_t(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                indices[size_t(y) * width + x] = static_cast<BYTE>(bmp[offset + size_t(height - 1 - y) * stride + x]);
        return true;
    }
    COLORREF PaletteColour(int x, int y) const {
        const BYTE* p = &palette[indices[size_t(y) * width + x] * 3];
        return RGB(p[0], p[1], p[2]);
    }
    COLORREF OwnColour(int x, int y) const {
        const BYTE* p = &ownColours[indices[size_t(y) * width + x] * 4];
        return RGB(p[2], p[1], p[0]);
    }
};

class TitleWindowE2E : public ::testing::Test {
protected:
    LauncherRegistry registry_;
    GameFolder game_;
    Process launcher_;
    StandInBrowser browser_;

    void SetUp() override { registry_.SetNumber("Num Launcher Runs", 4); }
    HWND StartAndWait(const std::string& args = "") {
        EXPECT_TRUE(launcher_.Start(game_.path(), "Velkarion.exe", args));
        return WaitForWindow(launcher_.id(), "Velkarion", kWait);
    }
    POINT ClientToScreenPoint(HWND w, int x, int y) {
        POINT p = {x, y};
        ClientToScreen(w, &p);
        return p;
    }
    POINT ControlCentre(HWND dialog, int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, id), &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Leave(HWND title) {
        PressKey(title, VK_ESCAPE);
        EXPECT_EQ(launcher_.WaitExit(kWait), 1u);
    }
};

TEST_F(TitleWindowE2E, PictureIsDrawnInItsOwnPalette) {
    TitleArt art;
    ASSERT_TRUE(art.Load());
    HWND title = StartAndWait();
    ASSERT_NE(title, nullptr);
    BringToFront(title);
    RECT frame;
    GetWindowRect(GetDlgItem(title, 1003), &frame);
    const int w = frame.right - frame.left - 1, h = frame.bottom - frame.top - 1;
    int samples = 0, inPalette = 0, inOwnTable = 0;
    // The picture reaches the screen some time after the window shows.
    WaitUntil([&] {
        samples = inPalette = inOwnTable = 0;
        HDC screen = GetDC(nullptr);
        for (int sy = 10; sy < art.height; sy += 23) {
            for (int sx = 7; sx < art.width; sx += 19) {
                // The screen pixel that shows source pixel (sx, sy), stretched into w x h.
                const int dx = frame.left + (sx * w + w / 2) / art.width;
                const int dy = frame.top + (sy * h + h / 2) / art.height;
                const COLORREF seen = GetPixel(screen, dx, dy) & 0xFFFFFF;
                bool match = false, own = false;
                for (int ny = std::max(0, sy - 1); ny <= std::min(art.height - 1, sy + 1); ++ny)
                    for (int nx = std::max(0, sx - 1); nx <= std::min(art.width - 1, sx + 1); ++nx) {
                        match = match || art.PaletteColour(nx, ny) == seen;
                        own = own ||
                              (art.OwnColour(nx, ny) == seen && art.OwnColour(nx, ny) != art.PaletteColour(nx, ny));
                    }
                ++samples;
                inPalette += match;
                inOwnTable += own;
            }
        }
        ReleaseDC(nullptr, screen);
        return inPalette * 10 >= samples * 9;
    });
    EXPECT_GE(inPalette * 10, samples * 9) << inPalette << " of " << samples << " samples in the palette's colours";
    EXPECT_EQ(inOwnTable, 0) << "pixels drawn with the bitmap's own colour table";
    Leave(title);
}

TEST_F(TitleWindowE2E, EnterPlaysEscapeAndCloseBoxLeave) {
    HWND title = StartAndWait();
    ASSERT_NE(title, nullptr);
    PressKey(title, VK_RETURN);
    EXPECT_EQ(launcher_.WaitExit(kWait), 1u);
    EXPECT_EQ(WaitEngineStarts(game_.path(), 1, kWait).size(), 1u);

    Process second;
    ASSERT_TRUE(second.Start(game_.path(), "Velkarion.exe", ""));
    title = WaitForWindow(second.id(), "Velkarion", kWait);
    ASSERT_NE(title, nullptr);
    PostMessageA(title, WM_SYSCOMMAND, SC_CLOSE, 0);  // the caption's close box
    EXPECT_EQ(second.WaitExit(kWait), 1u);
    DWORD runs = 0;
    EXPECT_TRUE(registry_.Number("Num Launcher Runs", &runs));
    EXPECT_EQ(runs, 6u);
    EXPECT_EQ(ReadEngineStarts(game_.path()).size(), 1u) << "leaving started the engine";
}

TEST_F(TitleWindowE2E, RealMouseOverEachLinkOpensItsAddress) {
    HWND title = StartAndWait();
    ASSERT_NE(title, nullptr);
    BringToFront(title);
    struct Case {
        int id;
        const char* address;
    };
    const Case cases[] = {
        {1011, "http://www.brannock.example/"},
        {1013, "http://www.velkarion.example/"},
        {1014, "http://news.velkarion.example/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        DeleteFileA(browser_.recordFile().c_str());
        POINT p = ControlCentre(title, c.id);
        MoveMouseTo(p.x, p.y);
        MouseButton(true);
        MouseButton(false);
        EXPECT_NE(browser_.WaitOpened().find(c.address), std::string::npos) << browser_.Opened();
    }
    Leave(title);
}

TEST_F(TitleWindowE2E, PressOutsideReleaseOverALinkAndTheEdgesCount) {
    HWND title = StartAndWait();
    ASSERT_NE(title, nullptr);
    BringToFront(title);
    RECT link;
    GetWindowRect(GetDlgItem(title, 1013), &link);
    // Pressed on empty dialog space below the separator, released over link 2.
    POINT outside = ControlCentre(title, 1014);
    outside.y += 40;
    MoveMouseTo(outside.x, outside.y);
    MouseButton(true);
    POINT centre = ControlCentre(title, 1013);
    MoveMouseTo(centre.x, centre.y);
    MouseButton(false);
    EXPECT_NE(browser_.WaitOpened().find("http://www.velkarion.example/"), std::string::npos);

    // The pixel just right of and below the static is its rectangle's edge.
    DeleteFileA(browser_.recordFile().c_str());
    MoveMouseTo(link.right, link.bottom);
    MouseButton(true);
    MouseButton(false);
    EXPECT_NE(browser_.WaitOpened().find("http://www.velkarion.example/"), std::string::npos);
    Leave(title);
}

TEST_F(TitleWindowE2E, TitleComesBackWithItsPictureAfterAFailedLaunch) {
    ASSERT_TRUE(DeleteFileA((game_ / "VELK.rez").c_str()));
    HWND title = StartAndWait();
    ASSERT_NE(title, nullptr);
    PressKey(title, VK_RETURN);
    HWND box = WaitForMessageBox(launcher_.id(), kWait);
    ASSERT_NE(box, nullptr);
    PressKey(box, VK_RETURN);
    ASSERT_TRUE(WaitWindowGone(title, kWait));
    title = WaitForWindow(launcher_.id(), "Velkarion", kWait);
    ASSERT_NE(title, nullptr);
    BringToFront(title);
    // The picture is drawn again: its frame is not a plain dialog background.
    RECT frame;
    GetWindowRect(GetDlgItem(title, 1003), &frame);
    auto colours = [&] {
        HDC screen = GetDC(nullptr);
        std::vector<COLORREF> seen;
        for (int x = frame.left + 10; x < frame.right - 10; x += 17)
            seen.push_back(GetPixel(screen, x, (frame.top + frame.bottom) / 2));
        ReleaseDC(nullptr, screen);
        std::sort(seen.begin(), seen.end());
        return std::unique(seen.begin(), seen.end()) - seen.begin();
    };
    EXPECT_TRUE(WaitUntil([&] { return colours() > 3; })) << colours() << " colours";
    Leave(title);
}

TEST_F(TitleWindowE2E, CommandsSentToTheDialogDoWhatTheTableSays) {
    ASSERT_TRUE(WriteFileText(game_ / "VELK.hlp", "help"));
    HWND title = StartAndWait();
    ASSERT_NE(title, nullptr);
    PostMessageA(title, WM_COMMAND, 6, 0);  // the game's web site
    EXPECT_NE(browser_.WaitOpened().find("http://www.velkarion.example/"), std::string::npos);
    DeleteFileA(browser_.recordFile().c_str());
    PostMessageA(title, WM_COMMAND, 10, 0);  // the help file
    EXPECT_NE(browser_.WaitOpened().find("VELK.hlp"), std::string::npos);
    DWORD_PTR handled = 0;  // customize: no template, nothing shows (a window would hold the answer back)
    EXPECT_TRUE(SendMessageTimeoutW(title, WM_COMMAND, 4, 0, SMTO_NORMAL, kWait, &handled));
    EXPECT_TRUE(IsWindowVisible(title));
    EXPECT_EQ(WaitForMessageBox(launcher_.id(), 200), nullptr);
    PostMessageA(title, WM_COMMAND, 8, 0);  // multiplayer
    EXPECT_EQ(launcher_.WaitExit(kWait), 1u);
    auto starts = WaitEngineStarts(game_.path(), 1, kWait);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].commandFile.find(" +multiplayer 1 "), std::string::npos);
}

}  // namespace
}  // namespace velk::test
