#include "http/encoder_mime.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "net/exceptions.h"

int64_t TNetReadMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(size - position, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, data + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int64_t TNetReadMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
  position = std::clamp<int64_t>(base + offset, 0, size);
  return position;
}

AnsiString TNetEncoderMIME::EncodeStream(TStream& AStream, int64_t ACount) {
  if (ACount != WholeStream && ACount % 3 != 0) throw ENetException("Uneven size in Encode.");
  const int64_t n = std::min(ACount, AStream.Size() - AStream.Position());
  if (n <= 0) return AnsiString();
  std::vector<uint8_t> in(static_cast<size_t>(n));
  AStream.ReadBuffer(in.data(), n);
  AnsiString out;
  out.reserve(static_cast<size_t>(4 * ((n + 2) / 3)));
  for (size_t i = 0; i < in.size(); i += 3) {
    const size_t left = in.size() - i;
    const uint32_t b1 = in[i];
    const uint32_t b2 = left > 1 ? in[i + 1] : 0;
    const uint32_t b3 = left > 2 ? in[i + 2] : 0;
    out += CodingTable[b1 >> 2];
    out += CodingTable[((b1 & 3) << 4) | (b2 >> 4)];
    out += left > 1 ? CodingTable[((b2 & 15) << 2) | (b3 >> 6)] : PadChar;
    out += left > 2 ? CodingTable[b3 & 63] : PadChar;
  }
  return out;
}

AnsiString TNetEncoderMIME::EncodeText(const AnsiString& AText) {
  TNetEncoderMIME encoder;
  TNetReadMemoryStream stream(AText.data(), static_cast<int64_t>(AText.size()));
  return encoder.EncodeStream(stream, WholeStream);
}
