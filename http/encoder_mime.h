#pragma once
// TNetEncoderMIME: Base64 (the standard alphabet, "=" padding, no line
// breaks), as the Basic scheme needs it.
//
//   AnsiString b64 = TNetEncoderMIME::EncodeText("user:pass");

#include <cstdint>

#include "core/ansistring.h"
#include "core/streams.h"

class TNetEncoderMIME {
 public:
  static constexpr int64_t WholeStream = 2147483647;

  virtual ~TNetEncoderMIME() = default;
  // Encodes the bytes from the stream's position, at most ACount of them. A
  // count other than WholeStream must be a multiple of 3, else ENetException
  // "Uneven size in Encode.".
  virtual AnsiString EncodeStream(TStream& AStream, int64_t ACount);
  static AnsiString EncodeText(const AnsiString& AText);

  const char* CodingTable = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  char PadChar = '=';
};

// A read-only stream over bytes that it does not own; writes do nothing.
class TNetReadMemoryStream : public TStream {
 public:
  TNetReadMemoryStream(const char* data, int64_t size) : data(data), size(size) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void*, int64_t) override { return 0; }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size; }
  void SetSize(int64_t) override {}

 private:
  const char* data;
  int64_t size;
  int64_t position = 0;
};
