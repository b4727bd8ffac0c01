#!/usr/bin/python3
"""Writes the fuzz targets' seed inputs into FOLDER/<target>/: small valid
pictures of every kind the readers handle (every BMP header version and bit
depth, every PNG colour type and depth, baseline, progressive, greyscale and
CMYK JPEG) and a few names for the name order. A picture input starts with
four bytes that choose the request (see picture_input.h).
Usage: make_seeds.py FOLDER"""
import io
import os
import struct
import sys
import zlib

from PIL import Image

# Requests: a 2048 side, whole; a 64 side; a 512 side in RGBA on two threads
# with a detail of 128 and a part of the middle.
CHOICES = [b"\x02\x80\x00\x00", b"\x00\x80\x00\x00", b"\x0d\x03\x44\x77"]
WIDTH, HEIGHT = 37, 23


def sample(x, y, channel):
    return (x * 7 + y * 13 + channel * 61 + (x ^ y) * 3) & 0xFF


def write(folder, name, data, choice=0):
    with open(os.path.join(folder, name), "wb") as out:
        out.write(CHOICES[choice % len(CHOICES)] + data)


def pil_picture(mode):
    picture = Image.new("RGB", (WIDTH, HEIGHT))
    picture.putdata([tuple(sample(x, y, c) for c in range(3)) for y in range(HEIGHT) for x in range(WIDTH)])
    return picture.convert(mode)


def jpegs(folder):
    kinds = {
        "baseline-420": ("RGB", {"subsampling": 2}),
        "baseline-444": ("RGB", {"subsampling": 0}),
        "baseline-422-restarts": ("RGB", {"subsampling": 1, "restart_marker_blocks": 2}),
        "progressive": ("RGB", {"progressive": True}),
        "progressive-grey": ("L", {"progressive": True}),
        "grey": ("L", {}),
        "cmyk": ("CMYK", {}),
    }
    for i, (name, (mode, options)) in enumerate(kinds.items()):
        data = io.BytesIO()
        pil_picture(mode).save(data, "JPEG", quality=80, **options)
        write(folder, name + ".jpg", data.getvalue(), i)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def packed(values, depth):
    """values of depth bits each, most significant first, padded to a byte."""
    bits = "".join(format(value, "0%db" % depth) for value in values)
    bits += "0" * (-len(bits) % 8)
    return int(bits, 2).to_bytes(len(bits) // 8, "big") if bits else b""


def png_rows(width, height, channels, depth, interlaced):
    scaled = {16: lambda s: s * 257, 8: lambda s: s}.get(depth, lambda s: s >> (8 - depth))
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]
    data = b""
    for x0, y0, dx, dy in passes:
        xs = range(x0, width, dx)
        for y in range(y0, height, dy) if len(xs) > 0 else []:
            data += b"\x00" + packed([scaled(sample(x, y, c)) for x in xs for c in range(channels)], depth)
    return data


def pngs(folder):
    kinds = [(0, [1, 2, 4, 8, 16], 1), (2, [8, 16], 3), (3, [1, 2, 4, 8], 1), (4, [8, 16], 2), (6, [8, 16], 4)]
    count = 0
    for colour_type, depths, channels in kinds:
        for depth in depths:
            for interlaced in (False, True):
                extra = b""
                if colour_type == 3:
                    extra += png_chunk(b"PLTE", bytes(sample(i, 0, c) for i in range(1 << depth) for c in range(3)))
                if colour_type in (0, 2, 3):
                    extra += png_chunk(b"tRNS", b"\x00\x01" * (3 if colour_type == 2 else 1) if colour_type != 3 else b"\x80\x40")
                extra += png_chunk(b"tEXt", b"Comment\x00seed")
                header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, depth, colour_type, 0, 0, int(interlaced))
                data = (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra
                        + png_chunk(b"IDAT", zlib.compress(png_rows(WIDTH, HEIGHT, channels, depth, interlaced)))
                        + png_chunk(b"IEND", b""))
                write(folder, "type%d-depth%d%s.png" % (colour_type, depth, "-interlaced" if interlaced else ""), data, count)
                count += 1


def bmp_file(info, table, pixels):
    at = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", at + len(pixels), 0, 0, at) + info + table + pixels


def bmp_info(size, bits, compression=0, colours=0, masks=(), height=HEIGHT):
    if size == 12:
        return struct.pack("<IHHHH", 12, WIDTH, height, 1, bits)
    info = struct.pack("<IiiHHIIiiII", size, WIDTH, height, 1, bits, compression, 0, 2835, 2835, colours, 0)
    info += b"".join(struct.pack("<I", mask) for mask in masks)
    return info[:size].ljust(size, b"\x00")


def bmp_rows(bits, height=HEIGHT):
    data = b""
    for y in range(height):
        if bits <= 8:
            line = packed([sample(x, y, 0) >> (8 - bits) for x in range(WIDTH)], bits)
        else:
            line = b"".join(struct.pack("<I", sample(x, y, 0) * 0x10101 + (sample(x, y, 1) << 24))[: bits // 8] for x in range(WIDTH))
        data += line.ljust((len(line) + 3) // 4 * 4, b"\x00")
    return data


def bmp_palette(bits, entry=4):
    return b"".join(bytes(sample(i, 1, c) for c in range(3)) + (b"\x00" if entry == 4 else b"") for i in range(1 << bits))


def rle(nibbles):
    data = b""
    for y in range(HEIGHT):
        if y % 5 == 3:
            data += b"\x00\x02\x03\x01"  # a skip right and up
            continue
        data += bytes([9, 0x12 if nibbles else 2, 0, 4]) + (b"\x13\x20" if nibbles else b"\x01\x03\x00\x02") + b"\x00\x00"
    return data + b"\x00\x01"


def bmps(folder):
    files = {}
    for bits in (1, 4, 8, 24):
        files["os2-12-%d" % bits] = bmp_file(bmp_info(12, bits), bmp_palette(bits, 3) if bits <= 8 else b"", bmp_rows(bits))
    files["os2-16-8"] = bmp_file(bmp_info(16, 8), bmp_palette(8), bmp_rows(8))
    files["os2-64-4"] = bmp_file(bmp_info(64, 4, 0, 16), bmp_palette(4), bmp_rows(4))
    for bits in (1, 2, 4, 8, 16, 24, 32):
        files["v1-%d" % bits] = bmp_file(bmp_info(40, bits), bmp_palette(bits) if bits <= 8 else b"", bmp_rows(bits))
    files["v1-8-top-down"] = bmp_file(bmp_info(40, 8, height=-HEIGHT), bmp_palette(8), bmp_rows(8))
    files["v1-16-565"] = bmp_file(bmp_info(40, 16, 3), struct.pack("<III", 0xF800, 0x07E0, 0x001F), bmp_rows(16))
    files["v1-32-alpha-fields"] = bmp_file(bmp_info(40, 32, 6), struct.pack("<IIII", 0xFF, 0xFF00, 0xFF0000, 0xFF000000), bmp_rows(32))
    files["v2-52-16"] = bmp_file(bmp_info(52, 16, 3, masks=(0x7C00, 0x03E0, 0x001F)), b"", bmp_rows(16))
    files["v3-56-32"] = bmp_file(bmp_info(56, 32, 3, masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)), b"", bmp_rows(32))
    files["v4-108-16"] = bmp_file(bmp_info(108, 16, 3, masks=(0x0F00, 0x00F0, 0x000F, 0xF000)), b"", bmp_rows(16))
    files["v5-124-32"] = bmp_file(bmp_info(124, 32, 3, masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)), b"", bmp_rows(32))
    files["v5-124-8"] = bmp_file(bmp_info(124, 8, 0, 256), bmp_palette(8), bmp_rows(8))
    files["rle8"] = bmp_file(bmp_info(40, 8, 1, 4), bmp_palette(2), rle(False))
    files["rle4"] = bmp_file(bmp_info(40, 4, 2, 4), bmp_palette(2), rle(True))
    for i, (name, data) in enumerate(files.items()):
        write(folder, name + ".bmp", data, i)


def names(folder):
    seeds = {
        "letters": b"\x00a\x00B\x00c",
        "digits": b"\x01file10.jpg\x00file9.jpg\x00File1.JPG",
        "paths": b"\x00photos/2024/a.jpg\x00photos/2024/b.jpg\x00photos/2023-12/z.jpg",
        "kana": "\x01ファイル\x00ﾌｧｲﾙ\x00ふぁいる".encode(),
        "marks": "\x00co-op\x00coop\x00\u00e9t\u00e9".encode(),
        "invalid": b"\x00\xff\xfe/a\x00\xc3(\x00\xe2\x82",
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


def main():
    top = sys.argv[1]
    for target, make in (("fuzz_jpeg", jpegs), ("fuzz_png", pngs), ("fuzz_bmp", bmps), ("fuzz_sort_key", names)):
        folder = os.path.join(top, target)
        os.makedirs(folder, exist_ok=True)
        make(folder)


if __name__ == "__main__":
    main()
