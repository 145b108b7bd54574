#!/usr/bin/env python3
"""Draws the launcher's title art: a 320x240 8-bit picture of a castle under a
dusk sky (game1.bmp), the 256-colour palette its pixels index (game1.pal) and
the start chime (game1.wav). Standard library only; the output is the same on
every run.

The picture's own colour table is a grey ramp on purpose: the title window
draws it through game1.pal, so the colours seen prove the palette was used.

    python3 make_title_art.py [--preview title.ppm]
"""
import math
import os
import random
import struct
import sys
import wave

WIDTH, HEIGHT = 320, 240
HERE = os.path.dirname(os.path.abspath(__file__))

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


# ---------------------------------------------------------------- palette

def lerp(a, b, t):
    return a + (b - a) * t


def gradient(stops, n):
    """n colours along (position, (r, g, b)) stops, positions 0..1."""
    out = []
    for i in range(n):
        t = i / (n - 1) if n > 1 else 0.0
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                u = (t - p0) / (p1 - p0) if p1 > p0 else 0.0
                out.append(tuple(int(round(lerp(x, y, u))) for x, y in zip(c0, c1)))
                break
    return out


class Ramp:
    """A run of palette entries from dark (or top) to light (or bottom)."""

    def __init__(self, first, colours):
        self.first = first
        self.count = len(colours)
        self.colours = colours

    def index(self, t, x, y):
        """Entry for t in 0..1, ordered-dithered between neighbours."""
        t = min(max(t, 0.0), 1.0) * (self.count - 1)
        base = int(t)
        if base < self.count - 1 and (t - base) * 16 > BAYER4[y & 3][x & 3] + 0.5:
            base += 1
        return self.first + base


def build_palette():
    palette = [(0, 0, 0)] * 256
    ramps = {}

    def add(name, first, colours):
        ramps[name] = Ramp(first, colours)
        palette[first:first + len(colours)] = colours

    # Sky, zenith to horizon: night indigo, violet, rose, ember, pale gold.
    add("sky", 1, gradient([(0.0, (8, 8, 38)), (0.35, (52, 30, 92)), (0.62, (150, 62, 110)),
                            (0.82, (232, 118, 84)), (1.0, (255, 206, 128))], 63))
    # Far mountains: shadowed violet to sunlit mauve.
    add("far", 64, gradient([(0.0, (38, 28, 70)), (0.6, (92, 62, 118)), (1.0, (160, 104, 140))], 24))
    add("snow", 88, gradient([(0.0, (120, 110, 170)), (1.0, (250, 226, 220))], 8))
    # Near hills and crag, almost black.
    add("hill", 96, gradient([(0.0, (10, 8, 22)), (1.0, (58, 38, 72))], 24))
    add("mist", 120, gradient([(0.0, (90, 60, 110)), (1.0, (196, 130, 138))], 8))
    # Castle stone: silhouette and its moonlit rim.
    add("castle", 128, gradient([(0.0, (6, 4, 14)), (0.6, (30, 22, 46)), (1.0, (96, 78, 120))], 16))
    add("light", 144, gradient([(0.0, (120, 50, 10)), (0.5, (240, 150, 40)), (1.0, (255, 236, 150))], 16))
    add("star", 160, gradient([(0.0, (70, 70, 120)), (0.7, (210, 210, 235)), (1.0, (255, 252, 236))], 16))
    # Title letters: bright gold at the top to bronze at the foot.
    add("gold", 176, gradient([(0.0, (255, 246, 190)), (0.35, (250, 200, 80)), (0.7, (206, 132, 34)),
                               (1.0, (110, 54, 16))], 32))
    add("outline", 208, gradient([(0.0, (8, 2, 10)), (1.0, (70, 26, 40))], 16))
    add("water", 224, gradient([(0.0, (6, 6, 26)), (0.5, (60, 40, 90)), (1.0, (230, 160, 120))], 24))
    add("ground", 248, gradient([(0.0, (4, 4, 10)), (1.0, (30, 24, 40))], 8))
    return palette, ramps


# ---------------------------------------------------------------- picture

def ridge(x, seed, base, amp, octaves):
    rng = random.Random(seed)
    phases = [(rng.uniform(0, 2 * math.pi), rng.uniform(0.7, 1.3)) for _ in range(octaves)]
    y = base
    for o, (phase, stretch) in enumerate(phases):
        f = 0.012 * (2.1 ** o) * stretch
        y -= amp / (1.9 ** o) * math.sin(x * f + phase)
    return y


def luminance(rgb):
    r, g, b = rgb
    return (0.3 * r + 0.55 * g + 0.15 * b) / 255.0


class Canvas:
    def __init__(self):
        self.px = [[0] * WIDTH for _ in range(HEIGHT)]

    def put(self, x, y, index):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.px[y][x] = index


HORIZON = 150
WATERLINE = 198


def paint_sky(c, ramps):
    sky = ramps["sky"]
    for y in range(HORIZON + 10):
        t = (y / (HORIZON + 10)) ** 1.15
        for x in range(WIDTH):
            # The afterglow sits a little right of centre.
            glow = 0.08 * math.exp(-((x - 210) / 120.0) ** 2) * (y / HORIZON)
            c.px[y][x] = sky.index(t + glow, x, y)


def paint_stars(c, ramps):
    rng = random.Random(7)
    star = ramps["star"]
    for _ in range(170):
        x, y = rng.randrange(WIDTH), int(rng.random() ** 1.8 * 110)
        if 8 <= y <= 58 and 18 <= x <= 302:
            continue  # keep the title clear
        bright = rng.random() * (1.0 - y / 130.0)
        c.put(x, y, star.index(0.3 + 0.7 * bright, x, y))
        if bright > 0.75:  # a few twinkling crosses
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.put(x + dx, y + dy, star.index(0.25, x, y))


def paint_moon(c, ramps):
    star, cx, cy, r = ramps["star"], 270, 84, 12
    for y in range(cy - r - 1, cy + r + 2):
        for x in range(cx - r - 1, cx + r + 2):
            d = math.hypot(x - cx, y - cy)
            shadow = math.hypot(x - cx + 6, y - cy - 3)  # crescent: a darker disc bites the left side
            if d <= r:
                lit = 1.0 if shadow > r - 1 else 0.35
                craters = 0.1 * math.sin(x * 1.7) * math.sin(y * 1.3)
                c.put(x, y, star.index(lit * (0.85 - 0.25 * d / r) + craters, x, y))


def paint_range(c, ramps, seed, base, amp, lightness, snow_line=None):
    """A mountain range lit from the afterglow on the right: sunlit slopes and
    ridges are lighter, and the foot fades into the mist."""
    far, snow, mist = ramps["far"], ramps["snow"], ramps["mist"]
    for x in range(WIDTH):
        top = ridge(x, seed, base, amp, 5)
        facing = ridge(x + 2, seed, base, amp, 5) - ridge(x - 2, seed, base, amp, 5)  # > 0: faces right
        for y in range(max(0, int(top)), HORIZON + 2):
            below = y - top
            rim = max(0.0, 1.0 - below / 3.0) * 0.25
            sun = max(0.0, min(1.0, facing * 0.4)) * math.exp(-below / 25.0) * 0.35
            haze = max(0.0, (y - (HORIZON - 30)) / 32.0)
            lit = lightness + rim + sun - below / 160.0
            if snow_line is not None and y < snow_line and below < (snow_line - top) * 0.8 and facing > -1.2:
                c.px[y][x] = snow.index(0.35 + sun * 2 + rim, x, y)
            elif haze > 0.75:
                c.px[y][x] = mist.index((haze - 0.75) * 2.0, x, y)
            else:
                c.px[y][x] = far.index(lit + haze * 0.45, x, y)


def paint_mist(c, ramps):
    mist = ramps["mist"]
    # Down to the water: the near hills cover most of it.
    for y in range(HORIZON, WATERLINE):
        for x in range(WIDTH):
            c.px[y][x] = mist.index(0.55 - (y - HORIZON) / 40.0, x, y)


def paint_far_mountains(c, ramps):
    paint_range(c, ramps, 3, 114, 26, 0.42, snow_line=104)
    paint_range(c, ramps, 5, 136, 12, 0.2)
    paint_mist(c, ramps)


def paint_hills(c, ramps):
    hill = ramps["hill"]
    for x in range(WIDTH):
        top = ridge(x, 11, 182, 7, 4)
        # The crag the castle stands on.
        top = min(top, 158 + 0.004 * (x - 160) ** 2)
        for y in range(int(top), WATERLINE):
            rim = 1.0 if y - top < 1.5 else 0.0
            c.px[y][x] = hill.index(0.12 + 0.5 * rim - (y - top) / 200.0, x, y)


def castle_mask():
    mask = set()

    def rect(x0, y0, x1, y1):
        for y in range(y0, y1):
            for x in range(x0, x1):
                mask.add((x, y))

    def battlements(x0, x1, y):
        for x in range(x0, x1, 4):
            rect(x, y - 3, min(x + 2, x1), y)

    def roof(x0, x1, base, tip):
        cx = (x0 + x1 - 1) / 2.0
        for y in range(tip, base):
            half = (x1 - x0) / 2.0 * (y - tip) / (base - tip) + 0.5
            for x in range(int(cx - half + 0.5), int(cx + half + 0.5) + 1):
                mask.add((x, y))

    def tower(x0, x1, top, roof_tip):
        rect(x0, top, x1, 164)
        rect(x0 - 1, top, x1 + 1, top + 2)
        roof(x0 - 2, x1 + 2, top, roof_tip)

    rect(122, 132, 198, 164)      # curtain wall
    battlements(122, 198, 132)
    rect(144, 104, 176, 132)      # keep
    battlements(144, 176, 104)
    tower(112, 124, 116, 96)      # outer towers
    tower(196, 208, 112, 90)
    tower(132, 140, 122, 108)     # small towers beside the keep
    tower(180, 188, 120, 104)
    tower(155, 165, 80, 58)       # the high tower
    for y in range(50, 58):       # its pennant
        mask.add((160, y))
    for y in range(50, 54):
        for x in range(161, 161 + (54 - y) * 2):
            mask.add((x, y))
    return mask


WINDOWS = [(117, 124), (117, 140), (201, 120), (201, 138), (158, 88), (161, 88), (158, 98),
           (150, 112), (168, 112), (159, 118), (135, 128), (183, 126), (130, 146), (190, 146)]


def paint_castle(c, ramps):
    stone, light = ramps["castle"], ramps["light"]
    mask = castle_mask()
    for (x, y) in mask:
        # Moonlight from the upper right catches right-hand and top edges.
        rim = (x + 1, y) not in mask or (x, y - 1) not in mask
        c.put(x, y, stone.index(0.75 if rim else 0.1 + 0.15 * ((y - 50) / 114.0), x, y))
    for (x, y) in WINDOWS:
        for dy in range(3):
            c.put(x, y + dy, light.index(1.0 - dy * 0.2, x, y + dy))
            c.put(x + 1, y + dy, light.index(0.85 - dy * 0.2, x + 1, y + dy))
    for y in range(150, 164):     # the gate, an arch with a glow inside
        for x in range(154, 166):
            if (x - 159.5) ** 2 / 36.0 + max(0, 154 - y) ** 2 / 16.0 <= 1.0:
                c.put(x, y, light.index(0.35 + (y - 150) / 30.0, x, y))


def paint_water(c, palette, ramps):
    water, ground = ramps["water"], ramps["ground"]
    for y in range(WATERLINE - 2, WATERLINE):
        for x in range(WIDTH):
            c.px[y][x] = ground.index(0.2, x, y)
    rng = random.Random(21)
    for y in range(WATERLINE, HEIGHT):
        # The moon's glitter path: short dashes that widen towards the viewer.
        glitter_x = 270 + rng.uniform(-3, 3)
        glitter_half = (1.5 + 9.0 * (y - WATERLINE) / (HEIGHT - WATERLINE)) * rng.uniform(0.4, 1.0)
        glitter = y % 2 == 0
        depth = (y - WATERLINE) / float(HEIGHT - WATERLINE)
        # Seen from above the water mirrors more of what lies behind the shore.
        src = int(WATERLINE - 3 - (y - WATERLINE) * 2.3)
        for x in range(WIDTH):
            dx = int(round(2.5 * math.sin(y * 0.9 + x * 0.035) * (0.4 + depth)))
            sx = min(max(x + dx, 0), WIDTH - 1)
            lum = luminance(palette[c.px[src][sx]]) if src >= 0 else 0.0
            streak = 0.1 if (y * 5 + (x + 3 * y) // 11) % 29 == 0 else 0.0
            if glitter and abs(x - glitter_x) < glitter_half:
                streak += 0.5
            c.px[y][x] = water.index(lum * (1.5 - 0.6 * depth) + streak, x, y)


# The title's letters as pen strokes in a unit box (x to the right, y down):
# (x0, y0, x1, y1, weight) with weight 1 for stems and 0 for hairlines and
# serifs, drawn with a round pen. Each letter also gives its advance width.
def _arc(cx, cy, rx, ry, a0, a1, weight_of, steps=24):
    out = []
    for i in range(steps):
        t0 = math.radians(a0 + (a1 - a0) * i / steps)
        t1 = math.radians(a0 + (a1 - a0) * (i + 1) / steps)
        out.append((cx + rx * math.cos(t0), cy + ry * math.sin(t0), cx + rx * math.cos(t1),
                    cy + ry * math.sin(t1), weight_of((t0 + t1) / 2)))
    return out


def _stress(t):
    return abs(math.cos(t)) ** 1.5  # thick at the sides, thin at top and bottom


LETTERS = {
    "V": (1.0, [(0, 0, 0.5, 1, 1), (1, 0, 0.5, 1, 0), (-0.15, 0, 0.22, 0, 0), (0.8, 0, 1.15, 0, 0)]),
    "E": (0.85, [(0, 0, 0, 1, 1), (0, 0, 0.82, 0, 0), (0, 0.48, 0.62, 0.48, 0), (0, 1, 0.88, 1, 0),
                 (0.82, 0, 0.82, 0.16, 0), (0.88, 1, 0.88, 0.82, 0), (0.62, 0.4, 0.62, 0.56, 0),
                 (-0.15, 0, 0, 0, 0), (-0.15, 1, 0, 1, 0)]),
    "L": (0.8, [(0, 0, 0, 1, 1), (0, 1, 0.85, 1, 0), (0.85, 1, 0.85, 0.8, 0), (-0.15, 0, 0.2, 0, 0),
                (-0.15, 1, 0, 1, 0)]),
    "K": (0.92, [(0, 0, 0, 1, 1), (0.05, 0.6, 0.85, 0, 0), (0.28, 0.38, 0.92, 1, 1), (-0.15, 0, 0.2, 0, 0),
                 (-0.15, 1, 0.2, 1, 0), (0.68, 0, 1.02, 0, 0), (0.75, 1, 1.1, 1, 0)]),
    "A": (1.0, [(0.5, 0, 0, 1, 0), (0.5, 0, 1, 1, 1), (0.2, 0.64, 0.8, 0.64, 0), (-0.15, 1, 0.18, 1, 0),
                (0.8, 1, 1.15, 1, 0), (0.38, 0, 0.52, 0, 0)]),
    "R": (0.9, [(0, 0, 0, 1, 1), (0, 0, 0.5, 0, 0), (0, 0.52, 0.5, 0.52, 0), (0.42, 0.52, 0.9, 1, 1),
                (-0.15, 0, 0, 0, 0), (-0.15, 1, 0.2, 1, 0), (0.78, 1, 1.05, 1, 0)]
          + _arc(0.5, 0.26, 0.3, 0.26, -90, 90, _stress)),
    "I": (0.4, [(0.2, 0, 0.2, 1, 1), (-0.05, 0, 0.45, 0, 0), (-0.05, 1, 0.45, 1, 0)]),
    "O": (1.0, _arc(0.5, 0.5, 0.5, 0.5, 0, 360, _stress, steps=48)),
    "N": (0.95, [(0, 0, 0, 1, 0), (0, 0, 0.95, 1, 1), (0.95, 0, 0.95, 1, 0), (-0.15, 1, 0.15, 1, 0),
                 (-0.15, 0, 0.05, 0, 0), (0.8, 0, 1.1, 0, 0)]),
}


def _segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


def title_ink(text, top, size, gap, thick, thin):
    """Pixels covered by the title, from strokes sampled four times a pixel."""
    widths = [LETTERS[ch][0] * size for ch in text]
    left = (WIDTH - (sum(widths) + gap * (len(text) - 1))) / 2.0
    ink = set()
    for ch, w in zip(text, widths):
        strokes = [(left + x0 * size, top + y0 * size, left + x1 * size, top + y1 * size,
                    thin + (thick - thin) * wt) for (x0, y0, x1, y1, wt) in LETTERS[ch][1]]
        for y in range(int(top) - 4, int(top + size) + 5):
            for x in range(int(left) - 6, int(left + w) + 7):
                hits = 0
                for sx, sy in ((0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75)):
                    px, py = x + sx, y + sy
                    if any(_segment_distance(px, py, *s[:4]) <= s[4] / 2.0 for s in strokes):
                        hits += 1
                if hits >= 2:
                    ink.add((x, y))
        left += w + gap
    return ink


def paint_title(c, ramps, text="VELKARION", top=15, size=28):
    gold, outline = ramps["gold"], ramps["outline"]
    ink = title_ink(text, top, size, gap=6, thick=5.5, thin=2.0)
    ys = [y for (_, y) in ink]
    y0, y1 = min(ys), max(ys)
    shadow = {(x + 2, y + 3) for (x, y) in ink} - ink
    for (x, y) in shadow:
        c.put(x, y, outline.index(0.0, x, y))
    for (x, y) in ink:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if (x + dx, y + dy) not in ink:
                    c.put(x + dx, y + dy, outline.index(0.35, x + dx, y + dy))
    for (x, y) in ink:
        t = (y - y0) / float(y1 - y0)
        # A bright band across the upper third, like polished metal.
        shine = -0.3 * math.exp(-((t - 0.28) / 0.06) ** 2)
        edge = 0.12 if (x, y - 1) not in ink or (x - 1, y) not in ink else 0.0
        c.put(x, y, gold.index(t + shine - edge, x, y))


def draw_picture(palette, ramps):
    c = Canvas()
    paint_sky(c, ramps)
    paint_stars(c, ramps)
    paint_moon(c, ramps)
    paint_far_mountains(c, ramps)
    paint_hills(c, ramps)
    paint_castle(c, ramps)
    paint_water(c, palette, ramps)
    paint_title(c, ramps)
    return c.px


# ---------------------------------------------------------------- files

def bmp_bytes(pixels):
    """8-bit bottom-up BMP whose own colour table is a grey ramp."""
    row_len = (WIDTH + 3) & ~3
    table = b"".join(bytes((i, i, i, 0)) for i in range(256))
    offset = 14 + 40 + len(table)
    body = b"".join(bytes(pixels[y]) + b"\0" * (row_len - WIDTH) for y in range(HEIGHT - 1, -1, -1))
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(body), 2835, 2835, 256, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return head + info + table + body


def chime_samples(rate=22050, seconds=1.6):
    """A bell-like arpeggio over a soft low drone."""
    notes = [(0.00, 329.63), (0.14, 440.00), (0.28, 523.25), (0.42, 659.25), (0.62, 880.00)]
    partials = [(1.0, 1.0), (2.76, 0.45), (5.40, 0.22), (8.93, 0.1)]
    n = int(rate * seconds)
    out = []
    for i in range(n):
        t = i / rate
        v = 0.0
        for start, freq in notes:
            u = t - start
            if u < 0:
                continue
            attack = min(1.0, u / 0.004)
            for ratio, amp in partials:
                v += attack * amp * math.exp(-u * (2.2 + ratio * 0.9)) * math.sin(2 * math.pi * freq * ratio * u)
        drone = 0.18 * math.sin(2 * math.pi * 110.0 * t) * min(1.0, t / 0.3) * math.exp(-t * 1.4)
        fade = min(1.0, (seconds - t) / 0.25)
        out.append(max(-1.0, min(1.0, (0.22 * v + drone) * fade)))
    return rate, out


def write_wav(path):
    rate, samples = chime_samples()
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", int(s * 30000)) for s in samples))


def write_ppm(path, pixels, palette):
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (WIDTH, HEIGHT))
        for row in pixels:
            f.write(b"".join(bytes(palette[i]) for i in row))


def main(argv):
    palette, ramps = build_palette()
    pixels = draw_picture(palette, ramps)
    with open(os.path.join(HERE, "game1.bmp"), "wb") as f:
        f.write(bmp_bytes(pixels))
    with open(os.path.join(HERE, "game1.pal"), "wb") as f:
        f.write(b"".join(bytes(c) for c in palette))
    write_wav(os.path.join(HERE, "game1.wav"))
    if len(argv) == 3 and argv[1] == "--preview":
        write_ppm(argv[2], pixels, palette)


if __name__ == "__main__":
    main(sys.argv)
