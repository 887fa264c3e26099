#pragma once

// The fixed look of the windows: colours given as 0x00BBGGRR values, and the
// fonts. Lengths are in the layout tables (layouttable.h).

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

namespace ui {

// The one conversion from a 0x00BBGGRR colour value (red in the low byte).
inline QColor bgr(std::uint32_t value)
{
    return QColor::fromRgb(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                           static_cast<int>((value >> 16) & 0xFF));
}

// The windows' colours, and beyond the 0x00BBGGRR values the desktop's
// button colours and no background at all.
namespace colour {
inline constexpr std::uint32_t White = 0x00FFFFFF;
inline constexpr std::uint32_t LightGrey = 0x00E0E0E0; // also a chart button not yet answered
inline constexpr std::uint32_t Peach = 0x00C0E0FF;     // a chart button whose kana was answered
inline constexpr std::uint32_t Grey = 0x00808080;
inline constexpr std::uint32_t Green = 0x0000C000;
inline constexpr std::uint32_t Pink = 0x00C0C0FF;
inline constexpr std::uint32_t LightBlue = 0x00FFC0C0;
inline constexpr std::uint32_t LightRed = 0x008080FF;
inline constexpr std::uint32_t Yellow = 0x0000FFFF;
inline constexpr std::uint32_t PaleYellow = 0x00CCFFFE;
inline constexpr std::uint32_t PaleLavender = 0x00FFD7ED;
inline constexpr std::uint32_t ButtonFace = 0x8000000F;
inline constexpr std::uint32_t ButtonText = 0x80000012;
inline constexpr std::uint32_t Transparent = 0xFFFFFFFF;
} // namespace colour

// The family of the program's built-in face: a proportional Japanese Gothic
// (BIZ UDPGothic, cut down to the characters the program draws), built into
// the program and registered from memory on the first call.
QString builtInFamily();
// An explicitly set font: the proportional Japanese Gothic face the design
// names where the system has it, else the built-in face, at an em height in
// pixels.
QFont drillFont(int pixelSize, bool bold = false);
// The windows' default font: the built-in face at an ordinary size.
QFont uiFont();

} // namespace ui
