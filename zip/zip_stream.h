#pragma once
// The byte streams the archiver reads archives from and writes entries to:
// an abstract stream with a position, and a stream over a file that serves
// small reads (records, names) from a read-ahead buffer.

#include <cstdint>
#include <memory>

#include "core/ansistring.h"
#include "platform/file_handle.h"

class TZipStream {
 public:
  virtual ~TZipStream() = default;
  // At most count bytes; the count transferred (0 at the end or on error).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves to an absolute position; false when the position is refused.
  virtual bool Seek(int64_t position) = 0;
  virtual int64_t Position() const = 0;
  virtual int64_t Size() = 0;

  // Exactly count bytes, or EReadError "Stream read error".
  void ReadBuffer(void* buffer, int64_t count);
  // Exactly count bytes, or EWriteError "Stream write error".
  void WriteBuffer(const void* buffer, int64_t count);
  // Moves to position, or EReadError "Stream read error".
  void SeekTo(int64_t position);
};

// File open modes: 0x40 read-only deny-none, 0x22 read-write deny-write,
// 0xFFFF create.
constexpr uint16_t kZipOpenReadDenyNone = 0x40;
constexpr uint16_t kZipOpenReadWriteDenyWrite = 0x22;
constexpr uint16_t kZipOpenCreate = 0xFFFF;

class TZipFileStream : public TZipStream {
 public:
  // Raises EFOpenError "Cannot open file %s" (or EFCreateError "Cannot create
  // file %s" for mode 0xFFFF) with the path.
  TZipFileStream(const AnsiString& fileName, uint16_t mode);

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  bool Seek(int64_t position) override;
  int64_t Position() const override { return position; }
  int64_t Size() override;

  bool FlushBuffers() { return file.Flush(); }
  bool SetDosDateTime(uint16_t date, uint16_t time) { return file.SetDosDateTime(date, time); }
  void Close() { file.Close(); }

 private:
  static constexpr int64_t kBufferSize = 65536;

  // Moves the file's own position to position when it is elsewhere.
  bool syncHandle();

  platform::TFileHandle file;
  int64_t position = 0;
  int64_t handlePosition = 0;  // where the file's own position is; -1 unknown
  // The read-ahead bytes cover the file from bufferStart on.
  std::unique_ptr<char[]> buffer;
  int64_t bufferStart = 0;
  int64_t bufferLength = 0;
};

// A stream over memory, growing as it is written.
class TZipMemoryStream : public TZipStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  bool Seek(int64_t position) override;
  int64_t Position() const override { return position; }
  int64_t Size() override { return static_cast<int64_t>(data.size()); }

  const AnsiString& Data() const { return data; }

 private:
  AnsiString data;
  int64_t position = 0;
};
