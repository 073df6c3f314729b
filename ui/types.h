#pragma once
// Geometry, colours and fonts shared by the widget model, the grid and the
// back-ends.

#include <cstdint>

#include "core/ansistring.h"

namespace ui {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

// 0x00BBGGRR, or 0x80000000 + n for Windows system colour n.
using TColor = uint32_t;

constexpr TColor clNone = 0x1FFFFFFF;  // no colour: a transparent background
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;

// The colour as 0xRRGGBB; system colours resolve to the Windows standard
// scheme.
uint32_t ColorToRGB(TColor color);

struct TFontStyles {
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  bool operator==(const TFontStyles&) const = default;
};

struct TFont {
  AnsiString Name = "MS Sans Serif";
  int Size = 8;  // points; a character height of 11 pixels at 96 dpi
  TColor Color = clWindowText;
  TFontStyles Style;
  bool operator==(const TFont&) const = default;
};

// Character height in pixels at 96 dpi for a point size, and back.
int PointsToPixels(int points);
int PixelsToPoints(int pixels);

}  // namespace ui
