#!/usr/bin/env python3
"""Makes the crafted pictures of tests/data/jpeg/crafted from the test
pictures beside them: small files that ask for far more work than any real
photograph. Run from anywhere; it rewrites both files.

huge-arith.jpg   the first kilobyte of sizes/arith_640x480.jpg, its frame
                 claiming 65500 x 65500 pixels: an arithmetic-coded stream
                 that ends early decodes as zeros, for every pixel claimed.
many-scans.jpg   sizes/progressive_640x480.jpg up to its third scan, that
                 scan (the first AC pass of one component, about 300 bytes)
                 written 300 times over, then the end marker: every scan
                 makes the decoder walk the whole picture again.
"""
import pathlib

data = pathlib.Path(__file__).resolve().parent.parent / "tests" / "data" / "jpeg"


def segments(picture):
    """(marker, start, end) of each marker segment, entropy data included."""
    at = 2
    while at < len(picture):
        marker = picture[at + 1]
        if marker == 0xD9:
            yield marker, at, at + 2
            return
        end = at + 2 + (picture[at + 2] << 8 | picture[at + 3])
        if marker == 0xDA:
            while not (picture[end] == 0xFF and picture[end + 1] != 0
                       and not 0xD0 <= picture[end + 1] <= 0xD7):
                end += 1
        yield marker, at, end
        at = end


def huge_arith():
    picture = bytearray((data / "sizes" / "arith_640x480.jpg").read_bytes())
    frame = next(start for marker, start, _ in segments(picture) if marker == 0xC9)
    picture[frame + 5:frame + 9] = (65500).to_bytes(2, "big") * 2
    return bytes(picture[:1024]) + b"\xff\xd9"


def many_scans():
    picture = (data / "sizes" / "progressive_640x480.jpg").read_bytes()
    scans = [(start, end) for marker, start, end in segments(picture) if marker == 0xDA]
    start, end = scans[2]
    return picture[:end] + picture[start:end] * 299 + b"\xff\xd9"


(data / "crafted").mkdir(exist_ok=True)
(data / "crafted" / "huge-arith.jpg").write_bytes(huge_arith())
(data / "crafted" / "many-scans.jpg").write_bytes(many_scans())
