#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: small valid files of every
format and the broken ones the decoders must survive. Standard library only.

    python3 make_corpus.py      (rewrites corpus/<target>/)
"""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def pcx_runs(line):
    out, i = bytearray(), 0
    while i < len(line):
        run = 1
        while i + run < len(line) and run < 63 and line[i + run] == line[i]:
            run += 1
        if run > 1 or line[i] >= 192:
            out.append(0xC0 | run)
        out.append(line[i])
        i += run
    return bytes(out)


def pcx(width, height, planes=1, bits=8, bpl=None, lines=None, xmin=0, ymin=0, palette=False):
    bpl = max(width, 1) if bpl is None else bpl
    head = bytearray(128)
    head[0:4] = bytes((10, 5, 1, bits))
    struct.pack_into("<hhhh", head, 4, xmin, ymin, xmin + width - 1, ymin + height - 1)
    head[65] = planes
    struct.pack_into("<H", head, 66, bpl)
    if lines is None:
        lines = b"".join(pcx_runs(bytes((x * 7 + y * 3 + p * 50) % 256 for p in range(planes) for x in range(bpl)))
                         for y in range(max(height, 1)))
    tail = b"\x0c" + bytes(i % 256 for i in range(768)) if palette else b""
    return bytes(head) + lines + tail


def pid(flags, width, height, fill, data):
    return struct.pack("<IIii8sI4s", 0, flags, width, height, b"", fill, b"") + data


def rid(width, height, data):
    return struct.pack("<8sii16s", b"", width, height, b"") + data


def info_header(width, height, bits, size=40, colours_used=0, compression=0):
    return struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0, 0, 0, colours_used, 0)


def bmp(width, height, bits, table=True, cut=0, offset=None):
    row = ((width * bits // 8) + 3) & ~3
    table_bytes = bytes(i % 256 for i in range(1024)) if table else b""
    block = bytes((i * 13) % 256 for i in range(row * abs(height)))
    natural = 54 + len(table_bytes)
    head = struct.pack("<2sIHHI", b"BM", natural + len(block), 0, 0, natural if offset is None else offset)
    data = head + info_header(width, height, bits) + table_bytes + block
    return data[:len(data) - cut] if cut else data


def packed_dib(width, height, bits, cut=0):
    row = ((width * bits // 8) + 3) & ~3
    table = bytes(1024) if bits <= 8 else b""
    data = info_header(width, height, bits) + table + bytes(7 for _ in range(row * abs(height)))
    return data[:len(data) - cut] if cut else data


def corpus():
    skip, fill = 0x20, 0x100
    return {
        "pcx": {
            "indexed_8x4": pcx(8, 4, palette=True),
            "rgb_5x3": pcx(5, 3, planes=3),
            "two_planes": pcx(4, 2, planes=2),
            "four_bits": pcx(4, 4, bits=4),
            "xmax_below_xmin": pcx(-3, 2),
            "ymax_below_ymin": pcx(2, -3),
            "odd_width_padded": pcx(3, 2, bpl=4),
            "negative_origin": pcx(4, 2, xmin=-2, ymin=-1),
            "runs_past_the_row": pcx(3, 2, lines=bytes((0xC5, 4, 0xFF, 9, 0xC0, 1))),
            "cut_mid_line": pcx(6, 4)[:140],
            "header_only": pcx(6, 4)[:128],
            "header_cut": pcx(6, 4)[:100],
            "run_byte_at_end": pcx(4, 4, lines=bytes((1, 2, 0xC9))),
        },
        "pid": {
            "skip_runs": pid(skip, 6, 3, 0, bytes((0x82, 4, 1, 2, 3, 4, 0x86, 2, 7, 7, 0x84))),
            "skip_runs_fill": pid(skip | fill, 6, 3, 0x1234AB, bytes((0x83, 3, 1, 2, 3, 0x86, 0x81, 5, 9, 9, 9, 9, 9))),
            "literals_past_width": pid(skip, 3, 2, 0, bytes((0x7F,)) + bytes(range(127)) + b"\x02\x01\x02"),
            "zero_controls": pid(skip, 2, 2, 0, bytes((0, 0x80, 0, 0x80, 2, 1, 2))),
            "pcx_style": pid(0, 4, 2, 0, bytes((0xC4, 8, 1, 2, 0xC2, 3, 0xC1, 0xFE))),
            "cut_literal": pid(skip, 8, 8, 0, bytes((0x20, 1, 2))),
            "header_cut": pid(skip, 8, 8, 0, b"")[:20],
            "zero_width": pid(skip, 0, 8, 0, b"\x01"),
            "huge": pid(skip, 0x7FFFFFFF, 0x7FFFFFFF, 0, b"\x01"),
            "negative_height": pid(0, 4, -4, 0, b"\x01"),
        },
        "rid": {
            "whole_5x3": rid(5, 3, bytes(range(15))),
            "short_data": rid(5, 3, bytes(range(7))),
            "header_only": rid(4, 4, b""),
            "header_cut": rid(4, 4, b"")[:20],
            "negative_width": rid(-4, 4, b"\x01\x02"),
            "overflowing": rid(0x10000, 0x10000, b"\x01"),
            "most_negative_height": rid(4, -0x80000000, b"\x01"),
        },
        "bmp": {
            "indexed_4x3": bmp(4, 3, 8),
            "rgb_5x2": bmp(5, 2, 24, table=False),
            "top_down": bmp(3, -2, 8),
            "rgb32": bmp(2, 2, 32, table=False),
            "one_byte_short": bmp(4, 3, 8, cut=1),
            "offset_past_end": bmp(4, 3, 8, offset=0x7FFFFFFF),
            "four_bit": bmp(4, 4, 4),
            "headers_only": bmp(4, 4, 8)[:54],
            "packed_dib_8": packed_dib(3, 2, 8),
            "packed_dib_24": packed_dib(3, 2, 24),
            "packed_dib_short": packed_dib(3, 2, 8, cut=1),
            "core_header": struct.pack("<IHHHH", 12, 4, 4, 1, 8) + bytes(64),
            "many_colours": info_header(1, 1, 24, colours_used=0x40000000) + bytes(8),
        },
        "palettes": {
            "pal_768": bytes(i % 256 for i in range(768)),
            "pal_767": bytes(767),
            "pal_769": bytes(769),
            "pcx_with_palette": pcx(4, 2, palette=True),
            "bmp_table": bmp(2, 2, 8),
            "bmp_table_cut": bmp(2, 2, 8)[:60],
            "display_256_20": struct.pack("<ii", 256, 20),
            "display_16_16": struct.pack("<ii", 16, 16),
            "display_nonsense": struct.pack("<ii", -1, 0x7FFFFFFF),
            "name_bmp": b"pics.v2\\title.BmP",
            "name_folder_dot": b"pics.v2\\title",
        },
    }


def main():
    for target, files in corpus().items():
        folder = os.path.join(HERE, "corpus", target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
