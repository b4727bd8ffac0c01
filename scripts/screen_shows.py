"""Waits until an Xvfb screen shows a colour, and saves the screen as a PNG.

Usage: screen_shows.py SCREEN_FILE R,G,B COUNT OUT.png

SCREEN_FILE is the screen Xvfb keeps in a file (started with -fbdir, the file
is Xvfb_screen0, an XWD image of 24-bit colour in 32-bit pixels). Succeeds as
soon as at least COUNT pixels are within a few levels of R,G,B; fails after a
bound. Either way OUT.png holds the last screen looked at.
"""
import struct
import sys
import time
import zlib

BOUND_S = 60
TOLERANCE = 8


def read_screen(path):
    """The screen's width, height and rows of RGB bytes."""
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, colours = fields[7], fields[11], fields[12], fields[19]
    if bits_per_pixel != 32:
        sys.exit(f"FAIL: {path} has {bits_per_pixel}-bit pixels, not 32")
    start = header_size + 12 * colours
    # Byte order 0 is least significant first: blue, green, red, unused.
    red, green, blue = (2, 1, 0) if byte_order == 0 else (1, 2, 3)
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + 4 * width]
        rgb = bytearray(3 * width)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[red::4], line[green::4], line[blue::4]
        rows.append(bytes(rgb))
    return width, height, rows


def count_near(rows, colour):
    """How many pixels are within TOLERANCE of colour in every channel."""
    near = [bytes(int(abs(v - c) <= TOLERANCE) for v in range(256)) for c in colour]
    count = 0
    for row in rows:
        # One bit a pixel per channel, set where the channel is near; a pixel
        # counts when all three are.
        bits = [int.from_bytes(row[i::3].translate(near[i]).replace(b"\1", b"\xff"), "big") for i in range(3)]
        count += (bits[0] & bits[1] & bits[2]).bit_count() // 8
    return count


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    screen, colour_text, wanted, out = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    colour = [int(c) for c in colour_text.split(",")]
    deadline = time.monotonic() + BOUND_S
    while True:
        width, height, rows = read_screen(screen)
        found = count_near(rows, colour)
        if found >= wanted or time.monotonic() > deadline:
            break
        time.sleep(0.2)
    write_png(out, width, height, rows)
    if found < wanted:
        sys.exit(f"FAIL: the screen shows {found} pixels of {colour_text} within {BOUND_S} s, {wanted} expected; see {out}")
    print(f"the screen shows {found} pixels of {colour_text}; saved as {out}")


if __name__ == "__main__":
    main()
