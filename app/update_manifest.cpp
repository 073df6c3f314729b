#include "app/update_manifest.h"

#include <limits>

#include "core/decimal.h"

namespace {

// Reads the manifest's lines in order; every step consumes exactly what it
// accepts and fails on anything else.
class Reader {
 public:
  explicit Reader(std::string_view text) : text(text) {}

  bool literal(std::string_view word) {
    if (text.substr(pos, word.size()) != word) return false;
    pos += word.size();
    return true;
  }

  // A decimal number from 1 to max: no sign, no leading zero.
  bool number(int64_t max, uint64_t& out) {
    size_t end = pos;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == pos || text[pos] == '0') return false;
    const auto value = ParseDecimal(text.substr(pos, end - pos), {.Min = 1, .Max = max});
    if (!value) return false;
    out = static_cast<uint64_t>(*value);
    pos = end;
    return true;
  }

  // A size may be 0, written as a single "0".
  bool size(uint64_t& out) {
    if (literal("0")) {
      out = 0;
      return pos == text.size() || text[pos] < '0' || text[pos] > '9';
    }
    return number(std::numeric_limits<int64_t>::max(), out);
  }

  bool digest(std::array<uint8_t, 32>& out) {
    if (text.size() - pos < 64) return false;
    for (size_t i = 0; i < 32; ++i) {
      const int high = hexDigit(text[pos + 2 * i]);
      const int low = hexDigit(text[pos + 2 * i + 1]);
      if (high < 0 || low < 0) return false;
      out[i] = static_cast<uint8_t>(high * 16 + low);
    }
    pos += 64;
    return true;
  }

  // LF or CR LF; at the very end of the text the line end may be missing.
  bool lineEnd(bool last) {
    if (literal("\n") || literal("\r\n")) return !last || pos == text.size();
    return last && pos == text.size();
  }

  bool file(std::string_view name, TManifestFile& out, bool last) {
    return literal("file ") && literal(name) && literal(" ") && size(out.Size) &&
           literal(" sha256 ") && digest(out.Sha256) && lineEnd(last);
  }

 private:
  static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  }

  std::string_view text;
  size_t pos = 0;
};

}  // namespace

std::optional<TUpdateManifest> ParseUpdateManifest(std::string_view text) {
  if (text.size() > MaxManifestSize) return std::nullopt;
  TUpdateManifest manifest;
  Reader r(text);
  if (r.literal("qdupdate-manifest 1") && r.lineEnd(false) && r.literal("serial ") &&
      r.number(std::numeric_limits<int64_t>::max(), manifest.Serial) && r.lineEnd(false) &&
      r.file("qd.zip", manifest.Package, false) &&
      r.file("newupd.dat", manifest.UpdateList, true)) {
    return manifest;
  }
  return std::nullopt;
}

std::string Sha256Hex(const std::array<uint8_t, 32>& digest) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(64);
  for (const uint8_t b : digest) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

std::string FormatUpdateManifest(const TUpdateManifest& manifest) {
  const auto line = [](const char* name, const TManifestFile& file) {
    return std::string("file ") + name + " " + std::to_string(file.Size) + " sha256 " +
           Sha256Hex(file.Sha256) + "\n";
  };
  return "qdupdate-manifest 1\nserial " + std::to_string(manifest.Serial) + "\n" +
         line("qd.zip", manifest.Package) + line("newupd.dat", manifest.UpdateList);
}
