#include "http/chunk_size.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int ParseChunkSize(const AnsiString& ALine) {
  // The extension after ";" is ignored, and so is anything after the first
  // blank that follows the number.
  std::string_view text(ALine);
  text = text.substr(0, text.find(';'));
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  text = text.substr(0, end);
  if (text.empty()) throw ENetChunkSizeError("Invalid chunk size line.");
  int64_t size = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) throw ENetChunkSizeError("Invalid chunk size line.");
    size = size * 16 + digit;
    if (size > 2147483647) throw ENetChunkSizeError("Chunk size out of range.");
  }
  return static_cast<int>(size);
}
