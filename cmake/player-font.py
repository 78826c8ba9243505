#!/usr/bin/env python3
"""Makes the player's device font: one face of a CJK font cut down to the characters that movies
of Chinese-speaking players show, so that the player loads a fraction of the whole file.

    player-font.py FONT EXTRA_FONT OUTPUT SOURCE...

Kept: all of GBK (simplified and traditional hanzi, its punctuation and symbols), Hangul, kana,
Latin-1, general punctuation, CJK symbols, full-width forms, and every character that occurs in the
SOURCE files (the store games' texts). What FONT lacks of these is taken from EXTRA_FONT, which
must have the same units per em. Dropped: what Ruffle does not read (hinting, OpenType layout,
vertical metrics) and the names in other languages than English, so that the face registers
under its English full name.

Two changes make text lay out as it did with the Chinese Windows fonts that movies were made with:
- Ruffle takes a line's height from the font's ascender and descender (the hhea values, or the
  typographic ones when the font says to use those) and ignores its line gap. The face gets 宋体's
  ascent and descent, 220 and 36 of its 256 units: a line of 12 px text is 12 px high, where this
  font's own values (0.94 and 0.24 em) made it 14, so fields sized for 宋体 cut off their last lines.
- Ruffle gives a character the font has no glyph for no room at all, so it silently vanishes. Every
  other visible character maps to a missing-glyph box instead (a many-to-one cmap subtable, read
  only after the ordinary ones): full width for CJK, Hangul and full-width forms, half elsewhere.
"""
import os
import sys
import unicodedata

from fontTools import subset
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable

RANGES = [
    (0x20, 0x7E), (0xA0, 0xFF),  # Latin-1
    (0x2000, 0x206F), (0x20A0, 0x20CF),  # general punctuation, currency signs
    (0x3000, 0x303F), (0xFF00, 0xFFEF),  # CJK symbols and punctuation, full- and half-width forms
    (0x3040, 0x30FF), (0x31F0, 0x31FF),  # kana
    (0x3130, 0x318F), (0xAC00, 0xD7A3),  # Hangul: compatibility jamo, syllables
]
# Where the missing-glyph box is as wide as a hanzi.
WIDE = [(0x1100, 0x115F), (0x2E80, 0xA4CF), (0xAC00, 0xD7AF), (0xF900, 0xFAFF), (0xFE30, 0xFE4F),
        (0xFF00, 0xFF60), (0xFFE0, 0xFFE6), (0x20000, 0x3FFFD)]
# What never takes room: controls, format characters, surrogates, combining marks, line breaks.
INVISIBLE = {"Cc", "Cf", "Cs", "Mn", "Me", "Zl", "Zp"}
SIMSUN_ASCENT, SIMSUN_DESCENT, SIMSUN_EM = 220, 36, 256


def gbk():
    for high in range(0x81, 0xFF):
        for low in range(0x40, 0xFF):
            try:
                char = bytes([high, low]).decode("gbk")
            except UnicodeDecodeError:
                continue
            if unicodedata.category(char) != "Co":
                yield char


def wanted(sources):
    chars = set(gbk())
    for first, last in RANGES:
        chars.update(chr(c) for c in range(first, last + 1))
    for source in sources:
        with open(source, encoding="utf-8") as text:
            chars.update(c for c in text.read() if c.isprintable())
    return chars


def cut(path, chars):
    options = subset.Options(font_number=0, hinting=False, layout_features=[], name_languages=[0x0409])
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "vhea", "vmtx", "FFTM"]
    font = subset.load_font(path, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(chars))
    subsetter.subset(font)
    return font


def add_glyph(font, name, glyph, advance):
    glyf = font["glyf"]
    glyf[name] = glyph  # which also appends the name to the table's glyph order
    glyph.recalcBounds(glyf)
    font["hmtx"][name] = (advance, getattr(glyph, "xMin", 0))
    font.setGlyphOrder(glyf.glyphOrder)


def fill_from(font, extra_path, chars):
    extra = TTFont(extra_path)
    if extra["head"].unitsPerEm != font["head"].unitsPerEm:
        sys.exit("player-font.py: %s has other units per em than the font" % extra_path)
    have, theirs, glyphs = font.getBestCmap(), extra.getBestCmap(), extra.getGlyphSet()
    added = {}
    for code in sorted(ord(c) for c in chars):
        if code in have or code not in theirs:
            continue
        recording = DecomposingRecordingPen(glyphs)
        glyphs[theirs[code]].draw(recording)
        pen = TTGlyphPen(None)
        recording.replay(pen)
        name = "extra%04X" % code
        add_glyph(font, name, pen.glyph(), extra["hmtx"][theirs[code]][0])
        added[code] = name
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap.update({c: n for c, n in added.items() if c <= 0xFFFF or table.format >= 12})


def box(font, name, advance, bottom, top):
    em = font["head"].unitsPerEm
    stroke, side = em // 16, advance // 10
    left, right = side, advance - side
    pen = TTGlyphPen(None)
    for x0, y0, x1, y1, outer in ((left, bottom, right, top, True),
                                  (left + stroke, bottom + stroke, right - stroke, top - stroke, False)):
        corners = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
        if not outer:
            corners.reverse()
        pen.moveTo(corners[0])
        for corner in corners[1:]:
            pen.lineTo(corner)
        pen.closePath()
    add_glyph(font, name, pen.glyph(), advance)


def map_missing(font):
    em = font["head"].unitsPerEm
    cmap = font.getBestCmap()
    han = font["glyf"][cmap[ord("中")]]
    box(font, "missing.wide", em, han.yMin, han.yMax)
    box(font, "missing", em // 2, 0, font["glyf"][cmap[ord("H")]].yMax)
    wide = [False] * 0x110000
    for first, last in WIDE:
        wide[first:last + 1] = [True] * (last - first + 1)
    table = CmapSubtable.newSubtable(13)
    table.platformID, table.platEncID, table.language = 3, 10, 0
    table.cmap = {code: "missing.wide" if wide[code] else "missing"
                  for code in range(0x20, 0x110000)
                  if code not in cmap and unicodedata.category(chr(code)) not in INVISIBLE}
    font["cmap"].tables.append(table)


def set_line_metrics(font):
    em = font["head"].unitsPerEm
    ascent = round(em * SIMSUN_ASCENT / SIMSUN_EM)
    descent = round(em * SIMSUN_DESCENT / SIMSUN_EM)
    font["hhea"].ascent, font["hhea"].descent, font["hhea"].lineGap = ascent, -descent, 0
    os2 = font["OS/2"]
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = ascent, -descent, 0


def main(font_path, extra_path, output, sources):
    chars = wanted(sources)
    font = cut(font_path, chars)
    fill_from(font, extra_path, chars)
    map_missing(font)
    set_line_metrics(font)
    font.save(output + ".part")
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
