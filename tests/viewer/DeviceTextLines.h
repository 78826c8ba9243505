#pragma once
// The lines of the device-text test movies (movies/DeviceText.hx and its ActionScript 2 twin): one
// line per font name that movies of the store's time ask for, each in its own colour. Every
// colour has a zero component, so that no line's edges, blended with the white stage, take the
// colour of another line.

#include <array>
#include <cstddef>
#include <cstdint>

struct DeviceTextLine {
    const char* font;
    std::uint32_t colour;
};

inline constexpr std::array<DeviceTextLine, 16> kDeviceTextLines{{
    {"_sans", 0xC00000},
    {"_serif", 0x00A000},
    {"_typewriter", 0x0000C0},
    {"宋体", 0xC0C000},
    {"新宋体", 0xC000C0},
    {"黑体", 0x00C0C0},
    {"楷体", 0x800000},
    {"微软雅黑", 0x008000},
    {"SimSun", 0x000080},
    {"SimHei", 0x808000},
    {"Microsoft YaHei", 0x800080},
    {"Arial", 0x008080},
    {"Times New Roman", 0xFF8000},
    {"Courier New", 0x0080FF},
    {"没有这种字体", 0x80FF00},
    {"Arial", 0xFF0080},
}};

// Every line is Chinese but the last.
inline constexpr const char* kDeviceTextChinese = "中文文字：汉字显示测试";
inline constexpr const char* kDeviceTextLatin = "Latin text MW 0123";

// The lines of characters-as2.swf, 20 px device text in 宋体, each line in its own colour: the
// first of GB2312 hanzi, then characters beyond GB2312 (traditional, those of names, Hangul, kana)
// and last one that the player's font has no glyph for (U+3400) between two hanzi. Every
// character is as wide as a hanzi.
struct WideTextLine {
    const char* text;
    int characters;
    std::uint32_t colour;
};

inline constexpr std::array<WideTextLine, 6> kWideTextLines{{
    {"中文中文中文", 6, 0xC00000},
    {"臺灣遊戲", 4, 0x00A000},
    {"王喆朱镕基", 5, 0x0000C0},
    {"한국어", 3, 0xC000C0},
    {"ひらがなカタカナ", 8, 0x008080},
    {"王\u3400王", 3, 0x808000},
}};

// lines-as2.swf: a multi-line field of kSpacedLines lines of 12 px text in 宋体 with 5 px leading,
// as high as those lines were on Chinese Windows (17 px each, with the field's 2 px gutters).
inline constexpr std::size_t kSpacedLines = 6;
inline constexpr double kSpacedLineHeight = 17;
inline constexpr std::uint32_t kSpacedColour = 0x0000C0;
