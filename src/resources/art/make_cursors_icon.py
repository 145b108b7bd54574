#!/usr/bin/env python3
"""Draws the launcher's icon ("ICON") and the two link cursors ("WEBHAND",
"WEBCLICK") and writes them as .ico/.cur files next to this script.
Run it again after changing a drawing; the outputs are committed."""
import struct, os

HERE = os.path.dirname(os.path.abspath(__file__))

def dib_32(size, pixels):
    """A 32-bit BGRA DIB as stored in .ico/.cur: header, bottom-up rows, AND mask."""
    w = h = size
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, w * h * 4, 0, 0, 0, 0)
    rows = b''
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b, a = pixels[y][x]
            rows += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4
    mask = b''
    for y in reversed(range(h)):
        bits = 0
        row = bytearray(mask_row)
        for x in range(w):
            if pixels[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + rows + mask

def container(kind, size, pixels, hotspot=(0, 0)):
    image = dib_32(size, pixels)
    if kind == 1:   # icon: planes 1, bit count 32
        a, b = 1, 32
    else:           # cursor: hotspot in the planes/bitcount fields
        a, b = hotspot
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, a, b, len(image), 6 + 16)
    return struct.pack('<HHH', 0, kind, 1) + entry + image

def canvas(size):
    return [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]

def hand(pressed):
    """A pointing hand, black outline, white glove; pressed: index finger bent, blue cuff."""
    art = [
        "....##..........",
        "...#ww#.........",
        "...#ww#.........",
        "...#ww#.........",
        "...#ww###.......",
        "...#ww#ww##.....",
        "...#ww#ww#w##...",
        "##.#ww#ww#w#w#..",
        "#w##wwwwwwwww#..",
        "#ww#wwwwwwwww#..",
        ".#wwwwwwwwwww#..",
        "..#wwwwwwwwww#..",
        "..#wwwwwwwww#...",
        "...#wwwwwwww#...",
        "....#wwwwww#....",
        "....#bbbbbb#....",
    ]
    if pressed:
        art = ["................", "................", "................"] + [
        "...#ww###.......",
        "...#ww#ww##.....",
        "...#ww#ww#w##...",
        "##.#ww#ww#w#w#..",
        "#w##wwwwwwwww#..",
        "#ww#wwwwwwwww#..",
        ".#wwwwwwwwwww#..",
        "..#wwwwwwwwww#..",
        "..#wwwwwwwww#...",
        "...#wwwwwwww#...",
        "....#wwwwww#....",
        "....#rrrrrr#....",
        "................"]
    size = 32
    px = canvas(size)
    colours = {'#': (0, 0, 0, 255), 'w': (255, 255, 255, 255), 'b': (40, 80, 200, 255), 'r': (200, 40, 40, 255)}
    for y, line in enumerate(art):
        for x, c in enumerate(line):
            if c in colours:
                for dy in (0, 1):
                    for dx in (0, 1):
                        px[y * 2 + dy][x * 2 + dx] = colours[c]
    return px

def icon():
    """A dark shield with a gold V: the game's mark."""
    size = 32
    px = canvas(size)
    for y in range(size):
        for x in range(size):
            cx = x - 15.5
            inside = abs(cx) < 14 - max(0, y - 16) * 0.85 and 1 <= y <= 30
            if inside:
                edge = abs(cx) > 12 - max(0, y - 16) * 0.85 or y < 3
                px[y][x] = (150, 110, 30, 255) if edge else (30, 35, 70, 255)
    for y in range(6, 26):
        half = (26 - y) * 0.45
        for x in range(size):
            d = abs(x - 15.5)
            if half - 2.2 <= d <= half + 0.4:
                px[y][x] = (240, 200, 70, 255)
    return px

def main():
    with open(os.path.join(HERE, 'velkarion.ico'), 'wb') as f:
        f.write(container(1, 32, icon()))
    with open(os.path.join(HERE, 'webhand.cur'), 'wb') as f:
        f.write(container(2, 32, hand(False), hotspot=(9, 0)))
    with open(os.path.join(HERE, 'webclick.cur'), 'wb') as f:
        f.write(container(2, 32, hand(True), hotspot=(9, 6)))

if __name__ == '__main__':
    main()
