#include "ui/types.h"

namespace ui {

uint32_t ColorToRGB(TColor color) {
  // Windows standard colour scheme, indexed by the system colour number.
  static const uint32_t system[] = {
      0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x0078D7, 0xF0F0F0};
  if (color & 0x80000000u) {
    const uint32_t index = color & 0xFF;
    return index < sizeof system / sizeof system[0] ? system[index] : 0;
  }
  return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

int PointsToPixels(int points) {
  return (points * 96 + 36) / 72;
}
int PixelsToPoints(int pixels) {
  return (pixels * 72 + 48) / 96;
}

}  // namespace ui
