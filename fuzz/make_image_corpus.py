#!/usr/bin/env python3
"""Writes the model texture fuzzer's seed corpus: small Targa pictures of each kind DevIL reads and
the damaged ones the game must refuse. Run from this folder; the files go to corpus/image/."""
import os
import random
import struct


def header(kind, width, height, depth, map_length=0, map_bits=0, descriptor=0):
    return struct.pack("<BBBHHBHHHHBB", 0, 1 if map_length else 0, kind, 0, map_length, map_bits,
                       0, 0, width, height, depth, descriptor)


def rgb(n):
    return bytes((i * 37 + c * 91) & 255 for i in range(n) for c in range(3))


files = {
    "truecolour_4x4.tga": header(2, 4, 4, 24) + rgb(16),
    "alpha_top_left_3x2.tga": header(2, 3, 2, 32, descriptor=0x28) + bytes(range(24)),
    # A run of five pixels, then eleven literal ones.
    "rle_4x4.tga": header(10, 4, 4, 24) + b"\x84\x10\x20\x30" + b"\x0a" + rgb(11),
    "grey_rle_8x2.tga": header(11, 8, 2, 8) + b"\x87\x40\x87\x80",
    "mapped_4x2.tga": header(1, 4, 2, 8, 4, 24) + rgb(4) + bytes([0, 1, 2, 3, 3, 2, 1, 0]),
    "index_past_map_4x2.tga": header(1, 4, 2, 8, 2, 24) + rgb(2) + bytes([0, 1, 200, 255, 1, 0, 1, 0]),
    "cut_in_pixels.tga": (header(2, 16, 16, 24) + rgb(256))[:400],
    "claims_65535_squared.tga": header(10, 65535, 65535, 32) + b"\xff\x11\x22\x33\x44" * 20,
    "random_bytes.tga": bytes(random.Random(5).randrange(256) for _ in range(300)),
}
os.makedirs("corpus/image", exist_ok=True)
for name, data in files.items():
    with open(os.path.join("corpus/image", name), "wb") as f:
        f.write(data)
