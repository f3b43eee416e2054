#pragma once

#include <cstdint>

// Colour numbers as the toolkit writes them: blue in the high byte, red in the low byte.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clWhite = 0xFFFFFF;
// The system's colours for window text and for caption text, as the classic desktop scheme has
// them.
inline constexpr TColor clWindowText = clBlack;
inline constexpr TColor clCaptionText = clWhite;

// The bitmap's pixel layout, 0xAARRGGBB, opaque.
inline constexpr std::uint32_t PixelOf(TColor color) {
  return 0xFF000000U | (color & 0x0000FFU) << 16 | (color & 0x00FF00U) | (color & 0xFF0000U) >> 16;
}

inline constexpr TColor ColorOf(std::uint32_t pixel) {
  return (pixel & 0xFF0000U) >> 16 | (pixel & 0x00FF00U) | (pixel & 0x0000FFU) << 16;
}
