#pragma once
// An open file with positioned reads and writes, for the archiver, which
// reads archives and writes extracted files through it. It owns a handle of
// the runtime's file calls (filestream.h) and takes their open modes.

#include <cstdint>

#include "platform/ansi_text.h"
#include "platform/filestream.h"

namespace platform {

class TFileHandle {
 public:
  TFileHandle() = default;
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  ~TFileHandle() { Close(); }

  // Opens an existing file with FileOpen's access and sharing mode; false
  // when it cannot be opened so.
  bool Open(const AnsiString& path, uint16_t mode);
  // Creates the file or empties an existing one, as FileCreate does; false
  // when that fails.
  bool Create(const AnsiString& path);
  bool IsOpen() const { return handle != InvalidFileHandle; }
  void Close();

  // At most count bytes; the count transferred, 0 at the end, -1 on error.
  int64_t Read(void* buffer, int64_t count);
  int64_t Write(const void* buffer, int64_t count);
  // Moves to an absolute position; false when the file refuses it.
  bool Seek(int64_t position);
  // The file's length, or -1 when it cannot be had.
  int64_t Size();
  // Writes the file's buffers through to the disk.
  bool Flush();
  // Sets the last-write time from an MS-DOS date and time read as local
  // time; false for a date the system cannot represent.
  bool SetDosDateTime(uint16_t dosDate, uint16_t dosTime);

 private:
  FileHandleValue handle = InvalidFileHandle;
};

// Whether the file can be opened now for reading and writing with other
// writers denied; the probe's handle is closed again at once.
bool CanOpenDenyWrite(const AnsiString& path);

}  // namespace platform
