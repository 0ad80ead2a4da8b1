#!/usr/bin/env bash
# Rebuild the payload stand-ins (Quillmere.exe and the two databases) that
# the installer embeds. Output is byte-for-byte reproducible.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(dirname "$here")"
out="${1:-$repo/payload}"

CXX="${CXX:-i686-w64-mingw32-g++-posix}"
EXE_SIZE=1171456   # the real application's size; the installer is sized around it

mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# No timestamps and no build paths, so two builds give identical bytes.
"$CXX" -std=c++20 -Os -s -static -mwindows -fno-exceptions -fno-rtti \
    -ffile-prefix-map="$here"=. \
    -Wl,--no-insert-timestamp -Wl,--build-id=none \
    "$here/standin/quillmere.cpp" -o "$tmp/Quillmere.exe"

# Pad after the PE image with non-zero bytes: zero padding would compress
# away and would not catch a copy that drops or zero-fills the tail.
/usr/bin/env python3 - "$tmp/Quillmere.exe" "$EXE_SIZE" <<'PY'
import os, sys
path, target = sys.argv[1], int(sys.argv[2])
size = os.path.getsize(path)
if size > target:
    sys.exit(f"error: {path} is {size} bytes, more than the {target} allowed")
state, pad = 0x2545F491, bytearray()
while len(pad) < target - size:
    state = (state * 1103515245 + 12345) & 0xFFFFFFFF
    pad.append(((state >> 16) & 0xFF) or 0x5A)
with open(path, "ab") as f:
    f.write(pad)
assert os.path.getsize(path) == target
PY

mv "$tmp/Quillmere.exe" "$out/Quillmere.exe"
/usr/bin/env python3 "$here/make_databases.py" "$out"

echo "stand-ins written to $out"
