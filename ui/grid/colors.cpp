#include "ui/grid/colors.h"

#include "core/ansistring.h"

namespace ui {

namespace {

struct TNamedColor {
  std::string_view name;
  TColor value;
};

// The fixed colours and the Windows system colours by their markup names.
constexpr TNamedColor kNamedColors[] = {
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", 0x80000001},
    {"clactivecaption", 0x80000002},
    {"clinactivecaption", 0x80000003},
    {"clmenu", 0x80000004},
    {"clwindow", 0x80000005},
    {"clwindowframe", 0x80000006},
    {"clmenutext", 0x80000007},
    {"clwindowtext", 0x80000008},
    {"clcaptiontext", 0x80000009},
    {"clactiveborder", 0x8000000A},
    {"clinactiveborder", 0x8000000B},
    {"clappworkspace", 0x8000000C},
    {"clhighlight", 0x8000000D},
    {"clhighlighttext", 0x8000000E},
    {"clbtnface", 0x8000000F},
    {"clbtnshadow", 0x80000010},
    {"clgraytext", 0x80000011},
    {"clbtntext", 0x80000012},
    {"clinactivecaptiontext", 0x80000013},
    {"clbtnhighlight", 0x80000014},
    {"cl3ddkshadow", 0x80000015},
    {"cl3dlight", 0x80000016},
    {"clinfotext", 0x80000017},
    {"clinfobk", 0x80000018},
};

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Two hexadecimal digits at value[at], or -1.
int hexByte(std::string_view value, size_t at) {
  const int high = hexDigit(value[at]);
  const int low = hexDigit(value[at + 1]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace

TColor MarkupColor(std::string_view value) {
  if (!value.empty() && value.front() == '#') {
    if (value.size() < 7) return clBlack;
    const int red = hexByte(value, 1);
    const int green = hexByte(value, 3);
    const int blue = hexByte(value, 5);
    if (red < 0 || green < 0 || blue < 0) return clBlack;
    return static_cast<TColor>(blue * 65536 + green * 256 + red);
  }
  const AnsiString name = LowerCase(value);
  for (const auto& c : kNamedColors)
    if (c.name == name) return c.value;
  return clBlack;
}

}  // namespace ui
