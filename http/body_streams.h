#pragma once
// The streams that receive HTTP bodies.
//
// TNetStringMemoryStream is the memory stream of GetString: its bytes live
// in a text from the start, so TakeText hands them over without a copy.
// Presizing (as a counted body does) only reserves memory, which the system
// commits as the bytes arrive, so a body needs little more than its own
// size.
//
// TNetBoundedTextStream keeps at most Limit bytes of what is written and
// counts the rest; error bodies are read into one (their first MiB becomes
// ReplyBody), and bodies that are dropped into one that keeps nothing.

#include <cstdint>

#include "core/ansistring.h"
#include "core/streams.h"

class TNetStringMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size; }
  void SetSize(int64_t newSize) override;

  // The content as a text; the stream is empty afterwards.
  AnsiString TakeText();

 private:
  // data holds the bytes written so far; bytes between its end and size
  // read as zeros until they are written.
  AnsiString data;
  int64_t size = 0;
  int64_t position = 0;
};

class TNetBoundedTextStream : public TStream {
 public:
  explicit TNetBoundedTextStream(int64_t limit) : limit(limit) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size; }
  void SetSize(int64_t newSize) override;

  // The kept bytes, at most Limit of them.
  const AnsiString& DataString() const { return data; }

 private:
  int64_t limit;
  AnsiString data;
  int64_t size = 0;
  int64_t position = 0;
};
