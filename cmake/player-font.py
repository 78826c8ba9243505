#!/usr/bin/env python3
"""Makes the player's device font: one face of a CJK font cut down to the characters that movies
need, so that the player loads a fraction of the whole file for every movie it starts.

    player-font.py PYFTSUBSET FONT OUTPUT SOURCE...

Kept: GB2312 (its symbols and both levels of hanzi), Latin-1, general punctuation, CJK symbols,
full-width forms, and every character that occurs in the SOURCE files (the store games' texts,
which use characters beyond GB2312, such as the traditional forms of the chess pieces). Dropped:
what Ruffle does not read (hinting, OpenType layout, vertical metrics) and the names in other
languages than English, so that the face registers under its English full name.
"""
import os
import subprocess
import sys
import tempfile

RANGES = [(0x20, 0x7E), (0xA0, 0xFF), (0x2000, 0x206F), (0x3000, 0x303F), (0xFF00, 0xFFEF)]


def gb2312():
    for high in range(0xA1, 0xF8):
        for low in range(0xA1, 0xFF):
            try:
                yield bytes([high, low]).decode("gb2312")
            except UnicodeDecodeError:
                pass


def main(pyftsubset, font, output, sources):
    chars = set(gb2312())
    for first, last in RANGES:
        chars.update(chr(c) for c in range(first, last + 1))
    for source in sources:
        with open(source, encoding="utf-8") as text:
            chars.update(c for c in text.read() if c.isprintable())
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt", delete=False) as text:
        text.write("".join(sorted(chars)))
    partial = output + ".part"
    try:
        subprocess.run([pyftsubset, font, "--font-number=0", "--text-file=" + text.name,
                        "--no-hinting", "--layout-features=", "--name-languages=0x0409",
                        "--drop-tables+=GSUB,GPOS,GDEF,vhea,vmtx,FFTM",
                        "--output-file=" + partial], check=True)
        os.replace(partial, output)
    finally:
        os.unlink(text.name)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
