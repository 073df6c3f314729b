#include "platform/codepage.h"

#include "platform/win32/windows_api.h"

namespace platform {
namespace {

std::wstring toWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n =
      ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
  return w;
}

std::string fromWide(UINT codePage, std::wstring_view w) {
  if (w.empty()) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
  return s;
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
  return fromWide(CP_UTF8, toWide(CP_ACP, ansi));
}
AnsiString Utf8ToAnsi(std::string_view utf8) {
  return fromWide(CP_ACP, toWide(CP_UTF8, utf8));
}

AnsiString OemToAnsi(std::string_view oem) {
  AnsiString out(oem);
  if (!out.empty()) ::OemToCharBuffA(out.data(), out.data(), static_cast<DWORD>(out.size()));
  return out;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  const std::wstring w = toWide(CP_ACP, ansi);
  return std::u16string(w.begin(), w.end());
}

AnsiString Utf16ToAnsi(std::u16string_view text) {
  return fromWide(CP_ACP, std::wstring(text.begin(), text.end()));
}

char AnsiUpperChar(char c) {
  char buf[1] = {c};
  ::CharUpperBuffA(buf, 1);
  return buf[0];
}

AnsiString AnsiUpperCase(std::string_view s) {
  AnsiString r(s);
  if (!r.empty()) ::CharUpperBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

AnsiString AnsiLowerCase(std::string_view s) {
  AnsiString r(s);
  if (!r.empty()) ::CharLowerBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) -
         2;
}

}  // namespace platform
