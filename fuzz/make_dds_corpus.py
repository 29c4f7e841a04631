#!/usr/bin/env python3
"""Writes the DDS parser's seed corpus: valid files of each format and the hostile headers the
loader must survive. Run from this folder; the files go to corpus/dds/."""
import os
import struct


def header(width, height, linear_size, levels, four_cc=b"DXT1"):
    data = bytearray(128)
    data[0:4] = b"DDS "
    struct.pack_into("<IIIIIII", data, 4, 124, 0, height, width, linear_size, 0, levels)
    struct.pack_into("<I", data, 76, 32)
    data[84:88] = four_cc
    return bytes(data)


def chain(width, height, block):
    size = 0
    while True:
        size += ((width + 3) // 4) * ((height + 3) // 4) * block
        if width == 1 and height == 1:
            return size
        width, height = max(width // 2, 1), max(height // 2, 1)


seeds = {
    "dxt1_16x16_chain": header(16, 16, 128, 5) + bytes(range(256))[: chain(16, 16, 8)],
    "dxt3_8x8_one_level": header(8, 8, 64, 1, b"DXT3") + b"\x33" * 64,
    "dxt5_256x64_chain": header(256, 64, 16384, 9, b"DXT5") + b"\xa5" * 32768,
    "zero_levels": header(64, 64, 2048, 0) + b"\x00" * 16,
    "zero_linear_size": header(64, 64, 0, 7) + b"\x00" * 64,
    "zero_width": header(0, 64, 2048, 7) + b"\x00" * 64,
    "huge_everything": header(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF) + b"\x00" * 64,
    "huge_levels_1x1": header(1, 1, 0xFFFFFFFF, 0xFFFFFFFF, b"DXT5") + b"\x00" * 40,
    "short_level_data": header(64, 64, 2048, 7) + b"\x00" * 300,
    "short_header": header(64, 64, 2048, 7)[:90],
    "magic_only": b"DDS ",
    "wrong_magic": b"DDSX" + header(4, 4, 8, 1)[4:] + b"\x00" * 8,
    "unknown_fourcc": header(4, 4, 8, 1, b"ATI2") + b"\x00" * 8,
    "small_many_levels": header(4, 4, 8, 3) + b"\x00" * 24,
}

os.makedirs("corpus/dds", exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join("corpus/dds", name + ".dds"), "wb") as f:
        f.write(data)
