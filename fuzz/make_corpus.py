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


class Fdp:
    """An input for a target that reads it with libFuzzer's FuzzedDataProvider:
    texts from the front, each ended by a backslash and one other character;
    numbers and flags from the back, the first taken being the file's last byte."""

    def __init__(self):
        self.front, self.back, self.tail = bytearray(), bytearray(), b""

    def text(self, value):
        data = value.encode("latin-1") if isinstance(value, str) else value
        self.front += data.replace(b"\\", b"\\\\") + b"\\\n"
        return self

    def number(self, value, size, signed=False):
        # The provider counts from the type's least value.
        offset = 1 << (8 * size - 1) if signed else 0
        self.back += (value + offset).to_bytes(size, "big")
        return self

    def int32(self, value):
        return self.number(value, 4, signed=True)

    def flag(self, on):
        return self.number(1 if on else 0, 1)

    def rest(self, data):
        self.tail = data.encode("latin-1") if isinstance(data, str) else data
        return self

    def bytes(self):
        return bytes(self.front) + self.tail + bytes(reversed(self.back))


def archive_input(text, limit=2045):
    return text.encode("latin-1") + limit.to_bytes(2, "little")


def command_line(update="", content="", multiplayer=False, switches=(0,) * 9, display=None, sound=None,
                 archives="", level=None, launcher="", text="", game=0, sound_archive=1):
    f = Fdp().number(game, 1).number(sound_archive, 1).text(update).text(content).flag(multiplayer)
    for on in switches:
        f.flag(on)
    file_name, name, description, mode = display or ("a.ren", "", "", None)
    f.flag(display is not None).text(file_name).text(name).text(description)
    for value in mode or ():  # taken only when the card is made
        f.int32(value)
    provider, kind, voices3d, voices2d, reverb = sound or ("", 0, 16, 32, 100)
    f.text(provider).int32(kind).number(voices3d, 4).number(voices2d, 4).int32(reverb).flag(sound is not None)
    f.text(archives).flag(level is not None).int32(level or 0).text(launcher)
    return f.rest(text).bytes()


def previews(sections, texts, folder="R:\\Previews\\Movies", reported=None):
    f = Fdp().text("Demo1\0Demo2\0\0")
    f.flag(folder == "")
    if folder == "":
        f.text("C:\\Game\\")
    f.text(sections).flag(reported is None)
    if reported is not None:
        f.number(reported, 4)
    for t in texts:
        f.text(t)
    return f.bytes()


def mode_record(name, description, width, height, bits=16, next_address=0, hardware=1):
    def field(text):
        data = text.encode("latin-1")
        return (data + bytes(128))[:128]
    return (struct.pack("<I", hardware) + bytes(256) + field(name) + field(description)
            + struct.pack("<IIiI", width, height, bits, next_address))


RECORD_AT = 0x1000  # where the target puts the image
RECORD = 532


def mode_image(records, first=RECORD_AT, file_name="a.ren", card=0, mode=0, cut=0):
    image = b"".join(records)
    image = image[:len(image) - cut] if cut else image
    return Fdp().number(first, 4).text(file_name).number(card, 1).number(mode, 1).rest(image).bytes()


def switches(line, links=((99, 191, 176, 199), (78, 201, 197, 209), None), point=(100, 195), switch=0, at=0):
    f = Fdp().text(line)
    for _ in line:
        f.flag(False)
    f.number(switch, 1).number(at, 1)
    for rect in links:
        f.flag(rect is None)
        for i, value in enumerate(rect or (0, 0, 0, 0)):
            if rect is not None or i > 0:
                f.number(value & 0xFFFF ^ 0x8000, 2)
    return f.number(point[0], 2).number(0, 1).number(point[1], 2).bytes()


def sound(name, kind=7, voices3d=16, voices2d=32, reverb=100, field=" 24 "):
    f = Fdp().text(name).int32(kind).number(voices3d, 4).number(voices2d, 4).int32(reverb)
    return f.rest(field).bytes()


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
        "settings_lines": {
            "autoexec_quoted": b'"NumRuns" "3"\r\n"RenderDll" "a.ren"\r\n"CardDesc" "Card1"\r\n'
                               b'"ScreenWidth" "1024"\r\n"ScreenHeight" "768"\r\n"BitDepth" "16"\r\n',
            "numruns_plain": b"NumRuns 12\n",
            "long_line": b"RenderDll " + b"x" * 600 + b"\nNumRuns 99999999999\n",
            "lone_cr": b"NumRuns 5\r\rCardDesc\r\r\n",
            "nul_in_line": b"NumRuns 7\x00junk\nBitDepth -2147483649\n",
            "no_line_end": b"ScreenWidth +640",
            "signs_and_blanks": b"ScreenHeight \t\v -0042\nNumRuns \t+-3\n",
        },
        "archive_list": {
            "three_names": archive_input("a.rez|b c.rez|C.REZ"),
            "tight_limit": archive_input("aaa.rez|b.rez|c.rez", 13),
            "unusable_pieces": archive_input('|con.rez|a.rez.|x"y.rez|..|ok.rez||lpt1|com0.rez|a\tb.rez'),
            # Found by the fuzzer: DEL passed as part of a name, and the command file makes it a blank.
            "regress_del_in_name": archive_input("a\x7f+x.rez|b.rez"),
        },
        "command_line": {
            "worked_example": command_line(level=1),
            "everything": command_line("-update 1", '+content "a b"', True, (1, 0, 1, 0, 1, 0, 1, 1, 1),
                                       ("my renderer.ren", "Card 1", "Example Card", (1024, 768, 16)),
                                       ("Miles 2D Stereo Positional Audio", 6, 16, 32, 100),
                                       "a.rez|b c.rez", 2, "-GOGAME", "+windowed 1 %s", game=2, sound_archive=0),
            "odd_quotes": command_line('a"b', "", launcher='"-x', text='"open'),
            "control_characters": command_line("a\tb\r\nc", "\x1a", launcher="\x7f-GOGAME", text="x\ny"),
            # Found by the fuzzer: a card description with a quote mark ended the quoted text.
            "regress_quote_in_description": command_line(display=("a.ren", "UU", 'Fast" +cheat 1', None)),
        },
        "previews": {
            "two_sections": previews("Demo1\0Demo2\0", ["Demo One", "demo1.exe", "Demo Two", "demo2.avi"]),
            "missing_keys": previews("Only\0", ["", ""]),
            "current_folder": previews("Movie\0", ["Film", "film.avi"], folder=""),
            "cut_list": previews(("Section00\0" * 102)[:1018], [""] * 204),
            "reported_too_long": previews("A\0B\0", ["a", "a.exe", "b", "b.exe"], reported=0xFFFFFFFF),
        },
        "mode_records": {
            "two_cards": mode_image([mode_record("Card1", "Example Card", 640, 480, 16, RECORD_AT + RECORD),
                                     mode_record("Card1", "Other text", 800, 600, 16, RECORD_AT + 2 * RECORD),
                                     mode_record("Soft", "Software", 1024, 768, 32, 0, hardware=0)], card=1),
            "cycle": mode_image([mode_record("A", "a", 640, 480, 16, RECORD_AT + RECORD),
                                 mode_record("B", "b", 800, 600, 16, RECORD_AT)]),
            "self_loop": mode_image([mode_record("A", "a", 640, 480, 16, RECORD_AT)]),
            "runs_off_image": mode_image([mode_record("A", "a", 640, 480, 16, RECORD_AT + RECORD),
                                          mode_record("B", "b", 800, 600, 16, 0)], cut=4),
            "unlisted_modes": mode_image([mode_record("A", "a", 639, 480, 16, RECORD_AT + RECORD),
                                          mode_record("A", "a", 640, 479, 16, RECORD_AT + 2 * RECORD),
                                          mode_record("A", "a", 1280, 1024, 16, RECORD_AT + 3 * RECORD),
                                          mode_record("A", "a", 1280, 960, 16, 0)]),
            "text_without_nul": mode_image([mode_record("N" * 128, "D" * 128, 640, 480, 16, 0)]),
            # Regression cases: a blank split a file or card name into two engine
            # arguments; a tab in a card name became a blank in the command file.
            "regress_blank_in_names": mode_image([mode_record("Card 2", "Two words", 800, 600, 16, 0)],
                                         file_name="my renderer.ren"),
            "regress_tab_in_card_name": mode_image([mode_record("Card\t+cheat", "Tab", 640, 480, 16, 0)]),
            "before_image": mode_image([mode_record("A", "a", 640, 480, 16, 0)], first=0x10),
            # Found by the fuzzer: the description's quote mark let "+cheat" stand as a switch.
            "regress_quote_in_description": mode_image([mode_record("Card1", 'Fast" +cheat 1', 640, 480, 16, 0)]),
            # A tab or a quote mark in a description became a blank; the card stays.
            "tab_in_description": mode_image([mode_record("Card1", '17" CRT\t', 640, 480, 16, 0)]),
        },
        "launcher_switches": {
            "gogame": switches("Velkarion.exe -GoGame", switch=0, at=3),
            "connect_late": switches("x" * 300 + " connect", switch=2, at=200),
            "both": switches("-gogame -gomulti", links=(None, None, None), switch=1),
            "link_edges": switches("", links=((0, 0, 10, 10), (10, 10, 20, 20), (-5, -5, 0, 0)), point=(10, 10)),
        },
        "sound_providers": {
            "eax": sound("Microsoft DirectSound3D with Creative Labs EAX(TM)", 2),
            "quote_in_name": sound('Bad "name" ++x 1'),
            "long_name": sound("Miles 2D Stereo Positional Audio " + "x" * 300, 6),
            "extreme_numbers": sound("", -1, 4294967295, 0, -2147483648, "4294967296"),
            "field_digits": sound("Aureal A3D Interactive(TM)", 4, 0, 1, 2147483647, "\t007  "),
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
