#!/usr/bin/env python3
"""Write the two database stand-ins the installer ships.

The contents are fixed and deliberately awkward: every byte value appears,
including NUL, CR LF, a lone LF, Ctrl-Z and 0xFF, so a copy made in text
mode, through a C string, or cut short at EOF markers shows up as a size or
checksum mismatch.
"""
import os
import struct
import sys

# (file name, exact size, seed that makes the two bodies differ)
DATABASES = [
    ("定期存款.edb", 980, 0x3D),
    ("到期存款.edb", 908, 0xA7),
]

MAGIC = b"QMEDB\x00\r\n\x1a\n"  # same trick as PNG: breaks under newline or EOF mangling


def build(size: int, seed: int) -> bytes:
    header = MAGIC + struct.pack("<II", size, seed)
    # A permutation of 0..255 (odd multiplier), so every value is present
    # in the first 256 bytes of the body whatever the seed.
    body = bytearray()
    i = 0
    while len(header) + len(body) < size:
        body.append((i * 167 + seed) & 0xFF)
        i += 1
    data = header + bytes(body)
    assert len(data) == size
    for needle in (b"\x00", b"\r\n", b"\x1a", b"\xff"):
        assert needle in data
    assert any(data[k] == 0x0A and (k == 0 or data[k - 1] != 0x0D) for k in range(len(data)))
    return data


def main() -> int:
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} OUTPUT_DIR", file=sys.stderr)
        return 2
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    contents = []
    for name, size, seed in DATABASES:
        data = build(size, seed)
        contents.append(data)
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
    assert contents[0] != contents[1]
    return 0


if __name__ == "__main__":
    sys.exit(main())
