#!/usr/bin/env python3
"""The game's menu icon: the rocket picture (24-bit BMP) scaled into a square PNG.

Usage: make-icon.py PICTURE.bmp SIZE OUT.png
"""
import os
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        sys.exit("make-icon: %s não é um BMP" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        sys.exit("make-icon: %s não tem 24 bits por ponto" % path)
    row_bytes = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        start = offset + y * row_bytes
        row = data[start:start + width * 3]
        rows.append([(row[i + 2], row[i + 1], row[i]) for i in range(0, width * 3, 3)])
    if height > 0:  # stored bottom-up
        rows.reverse()
    return rows


def fit_square(rows, size):
    """Nearest-neighbour scale keeping the shape, centred on the picture's own background."""
    height, width = len(rows), len(rows[0])
    scale = size / max(width, height)
    w, h = max(1, round(width * scale)), max(1, round(height * scale))
    background = rows[0][0]
    out = [[background] * size for _ in range(size)]
    left, top = (size - w) // 2, (size - h) // 2
    for y in range(h):
        for x in range(w):
            out[top + y][left + x] = rows[min(height - 1, int(y / scale))][min(width - 1, int(x / scale))]
    return out


def png(rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__.strip())
    picture, size, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    with open(out + ".tmp", "wb") as f:
        f.write(png(fit_square(read_bmp(picture), size)))
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main()
