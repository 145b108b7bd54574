// Decoding speed of the launcher's picture decoders next to stb_image (BMP)
// and SDL_image (PCX), and a memcpy of the decoded size as the physical bound.
// The pictures are the title art tiled to 640 x 480, so runs and literals mix
// as in a real picture.
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <cstdio>
#include <cstring>

#include "../tests/support/picture_samples.h"
#include "image/memory_picture.h"
#include "image/picture_decode.h"

namespace velk {
namespace {

using samples::Bytes;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The title art's 8-bit pixels, top row first, tiled (mirrored so the seams match).
Bytes TiledTitle() {
    FILE* f = fopen(VELK_TITLE_BMP, "rb");
    Bytes bmp;
    if (f) {
        uint8_t buf[65536];
        for (size_t n; (n = fread(buf, 1, sizeof(buf), f)) > 0;) bmp.insert(bmp.end(), buf, buf + n);
        fclose(f);
    }
    Bytes out(kWidth * kHeight, 0);
    if (bmp.size() < 1078 + 320 * 240) return out;
    const uint8_t* block = bmp.data() + 1078;
    for (int y = 0; y < kHeight; ++y) {
        int sy = y < 240 ? y : 479 - y;
        for (int x = 0; x < kWidth; ++x) {
            int sx = x < 320 ? x : 639 - x;
            out[y * kWidth + x] = block[(239 - sy) * 320 + sx];
        }
    }
    return out;
}

// Plane lines of the tiled art as a 24-bit picture (red, green and blue planes per row).
Bytes RgbPlanes(const Bytes& indexed) {
    Bytes planes(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t v = indexed[y * kWidth + x];
            for (int p = 0; p < 3; ++p) planes[(y * 3 + p) * kWidth + x] = static_cast<uint8_t>(v * (p + 1) * 37);
        }
    }
    return planes;
}

// Skip runs with the most frequent value as the fill pixel.
Bytes PidSkipRuns(const Bytes& indexed, uint8_t fill) {
    Bytes out;
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* row = indexed.data() + y * kWidth;
        for (int x = 0; x < kWidth;) {
            int run = 0;
            while (x + run < kWidth && run < 127 && row[x + run] == fill) ++run;
            if (run > 0) {
                out.push_back(static_cast<uint8_t>(128 + run));
            } else {
                while (x + run < kWidth && run < 127 && row[x + run] != fill) ++run;
                out.push_back(static_cast<uint8_t>(run));
                out.insert(out.end(), row + x, row + x + run);
            }
            x += run;
        }
    }
    return out;
}

struct Samples {
    Bytes pcx8, pcx24, bmp8, bmp24, rid, pid;

    Samples() {
        const Bytes art = TiledTitle();
        const Bytes rgb = samples::DistinctRgb();
        pcx8 = samples::PcxPicture(kWidth, kHeight, 1, art, &rgb);
        pcx24 = samples::PcxPicture(kWidth, kHeight, 3, RgbPlanes(art));
        Bytes block8(kWidth * kHeight), block24(kWidth * 3 * kHeight);
        for (int y = 0; y < kHeight; ++y) memcpy(&block8[(kHeight - 1 - y) * kWidth], &art[y * kWidth], kWidth);
        for (size_t i = 0; i < block24.size(); ++i) block24[i] = art[i / 3] ^ static_cast<uint8_t>(i % 3 * 85);
        bmp8 = samples::BmpFile(kWidth, kHeight, 8, samples::ColorTable([](int i) { return uint32_t(i) * 0x010101u; }),
                                block8);
        bmp24 = samples::BmpFile(kWidth, kHeight, 24, {}, block24);
        rid = samples::RidFile(kWidth, kHeight, art);
        size_t counts[256] = {};
        for (uint8_t v : art) ++counts[v];
        uint8_t fill = 0;
        for (int v = 1; v < 256; ++v)
            if (counts[v] > counts[fill]) fill = static_cast<uint8_t>(v);
        pid = samples::PidFile(kPidSkipRuns | kPidFillPresent, kWidth, kHeight, fill, PidSkipRuns(art, fill));
    }
};

const Samples& Pictures() {
    static const Samples samples;
    return samples;
}

void Ours(benchmark::State& state, const Bytes& file, bool (*decode)(ByteSpan, PictureCanvas&), size_t outBytes) {
    for (auto _ : state) {
        MemoryPicture picture;
        if (!decode(ByteSpan(file.data(), file.size()), picture)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outBytes));
}

void Memcpy(benchmark::State& state, size_t outBytes) {
    Bytes from(outBytes, 1), to(outBytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), outBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outBytes));
}

void Stb(benchmark::State& state, const Bytes& file, size_t outBytes) {
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 0);
        if (!pixels) state.SkipWithError("stb_image failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outBytes));
}

void Sdl(benchmark::State& state, const Bytes& file, size_t outBytes) {
    for (auto _ : state) {
        SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
        SDL_Surface* surface = IMG_LoadPCX_RW(rw);
        SDL_RWclose(rw);
        if (!surface) state.SkipWithError("SDL_image failed");
        benchmark::DoNotOptimize(surface);
        SDL_FreeSurface(surface);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outBytes));
}

constexpr size_t kOut8 = size_t{kWidth} * kHeight;
constexpr size_t kOut24 = kOut8 * 3;

void BM_Ours_Pcx8(benchmark::State& s) { Ours(s, Pictures().pcx8, DecodePcxFile, kOut8); }
void BM_Sdl_Pcx8(benchmark::State& s) { Sdl(s, Pictures().pcx8, kOut8); }
void BM_Memcpy_Pcx8(benchmark::State& s) { Memcpy(s, kOut8); }
void BM_Ours_Pcx24(benchmark::State& s) { Ours(s, Pictures().pcx24, DecodePcxFile, kOut24); }
void BM_Sdl_Pcx24(benchmark::State& s) { Sdl(s, Pictures().pcx24, kOut24); }
void BM_Memcpy_Pcx24(benchmark::State& s) { Memcpy(s, kOut24); }
void BM_Ours_Bmp8(benchmark::State& s) { Ours(s, Pictures().bmp8, DecodeBmpFile, kOut8); }
void BM_Stb_Bmp8(benchmark::State& s) { Stb(s, Pictures().bmp8, kOut8); }
void BM_Memcpy_Bmp8(benchmark::State& s) { Memcpy(s, kOut8); }
void BM_Ours_Bmp24(benchmark::State& s) { Ours(s, Pictures().bmp24, DecodeBmpFile, kOut24); }
void BM_Stb_Bmp24(benchmark::State& s) { Stb(s, Pictures().bmp24, kOut24); }
void BM_Memcpy_Bmp24(benchmark::State& s) { Memcpy(s, kOut24); }
void BM_Ours_Rid(benchmark::State& s) { Ours(s, Pictures().rid, DecodeRidFile, kOut8); }
void BM_Memcpy_Rid(benchmark::State& s) { Memcpy(s, kOut8); }
void BM_Ours_Pid(benchmark::State& s) { Ours(s, Pictures().pid, DecodePidFile, kOut8); }
void BM_Memcpy_Pid(benchmark::State& s) { Memcpy(s, kOut8); }

BENCHMARK(BM_Ours_Pcx8);
BENCHMARK(BM_Sdl_Pcx8);
BENCHMARK(BM_Memcpy_Pcx8);
BENCHMARK(BM_Ours_Pcx24);
BENCHMARK(BM_Sdl_Pcx24);
BENCHMARK(BM_Memcpy_Pcx24);
BENCHMARK(BM_Ours_Bmp8);
BENCHMARK(BM_Stb_Bmp8);
BENCHMARK(BM_Memcpy_Bmp8);
BENCHMARK(BM_Ours_Bmp24);
BENCHMARK(BM_Stb_Bmp24);
BENCHMARK(BM_Memcpy_Bmp24);
BENCHMARK(BM_Ours_Rid);
BENCHMARK(BM_Memcpy_Rid);
BENCHMARK(BM_Ours_Pid);
BENCHMARK(BM_Memcpy_Pid);

}  // namespace
}  // namespace velk

BENCHMARK_MAIN();
