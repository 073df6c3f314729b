#pragma once
// The streams that receive HTTP bodies.
//
// TNetStringMemoryStream is the memory stream of GetString: its bytes live
// in a text from the start, so TakeText hands them over without a copy.
// Presizing (as a counted body does) only reserves memory, which the system
// commits as the bytes arrive, so a body needs little more than its own
// size. A body of unknown length (chunked, or ended by the close) that grows
// past its room is appended in blocks taken from the system instead of a
// text that doubles: a doubling holds the old and the new copy at once. The
// blocks are gathered into one text, reserved once, when the bytes are read
// or taken, each block released as soon as it is copied, so that the body is
// never held twice.
//
// TNetBoundedTextStream keeps at most Limit bytes of what is written and
// counts the rest; error bodies are read into one (their first MiB becomes
// ReplyBody), and bodies that are dropped into one that keeps nothing.

#include <cstdint>
#include <vector>

#include "core/ansistring.h"
#include "core/streams.h"

class TNetStringMemoryStream : public TStream {
 public:
  TNetStringMemoryStream() = default;
  TNetStringMemoryStream(const TNetStringMemoryStream&) = delete;
  TNetStringMemoryStream& operator=(const TNetStringMemoryStream&) = delete;
  ~TNetStringMemoryStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size; }
  void SetSize(int64_t newSize) override;

  // The content as a text; the stream is empty afterwards.
  AnsiString TakeText();

 private:
  // One block from the system and how many of its bytes are written.
  struct Block {
    char* bytes;
    int64_t used;
  };

  // The bytes written so far, in data and the blocks.
  int64_t Stored() const;
  void AppendToBlocks(const char* in, int64_t count);
  // Moves the blocks' bytes behind data, which afterwards holds them all.
  void Gather();
  void ReleaseBlocks();

  // data holds the bytes written so far, and blocks those appended after
  // them; bytes between the end of both and size read as zeros until they
  // are written.
  AnsiString data;
  std::vector<Block> blocks;
  int64_t blockBytes = 0;
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
