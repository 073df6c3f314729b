#pragma once
// The runtime's streams: an abstract byte stream with a position and a size,
// a stream over memory, a stream over a file and a stream over a text.
// Failures raise the runtime's stream exceptions (core/exceptions.h).

#include <cstdint>

#include "core/ansistring.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
 public:
  virtual ~TStream() = default;

  // Read and Write transfer at most count bytes and return how many they
  // transferred; they never raise for a short transfer.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // The new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  virtual int64_t Size();
  // Sets the length; a position past the new end moves to the end, any other
  // position stays.
  virtual void SetSize(int64_t size) = 0;

  // Exactly count bytes or EReadError "Stream read error".
  void ReadBuffer(void* buffer, int64_t count);
  // Exactly count bytes or EWriteError "Stream write error".
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source's position; a count of 0 copies the whole
  // source from its beginning. Returns the byte count copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over one growable block of memory. Growing does not clear the new
// bytes, so presizing a large stream costs nothing until it is written.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;
  ~TMemoryStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size; }
  // Raises EOutOfMemory when the memory cannot be had.
  void SetSize(int64_t newSize) override;

  char* Memory() { return memory; }
  const char* Memory() const { return memory; }
  // Releases the memory; size and position become 0.
  void Clear();

 private:
  void reserve(int64_t wanted);

  char* memory = nullptr;
  int64_t size = 0;
  int64_t capacity = 0;
  int64_t position = 0;
};

// File open modes of the runtime: fmCreate creates or empties the file; the
// others open an existing file with an access and a sharing part combined.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFFFF,
};

// A stream over an open file. Opening raises EFOpenError "Cannot open file %s"
// and creating EFCreateError "Cannot create file %s", with the path.
class TFileStream : public TStream {
 public:
  TFileStream(const AnsiString& fileName, uint16_t mode);
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  ~TFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Raises EStreamError when the file cannot take the new length.
  void SetSize(int64_t newSize) override;

  // Writes the file's buffers through to the disk; false when that fails.
  bool FlushBuffers();
  const AnsiString& FileName() const { return fileName; }
  intptr_t Handle() const { return handle; }

 private:
  AnsiString fileName;
  intptr_t handle;
};

// A stream over a text, whose bytes are kept as they are.
class TStringStream : public TStream {
 public:
  explicit TStringStream(AnsiString text = AnsiString()) : data(std::move(text)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data.size()); }
  void SetSize(int64_t newSize) override;

  const AnsiString& DataString() const { return data; }

 private:
  AnsiString data;
  int64_t position = 0;
};
