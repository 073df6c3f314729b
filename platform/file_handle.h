#pragma once
// An open file with positioned reads and writes, for the archiver, which
// reads archives and writes extracted files through it. The open modes are
// the three the archiver uses; the file calls underneath are the runtime's.

#include <cstdint>

#include "core/ansistring.h"
#include "platform/filestream.h"

namespace platform {

enum class TFileOpenMode {
  ReadDenyNone,        // read-only, other processes may read and write
  ReadWriteDenyWrite,  // read-write, other processes may only read
  CreateExclusive,     // created new or emptied, read-write, not shared
};

class TFileHandle {
 public:
  TFileHandle() = default;
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  ~TFileHandle() { Close(); }

  // False when the file cannot be opened (or created) in that mode.
  bool Open(const AnsiString& path, TFileOpenMode mode);
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
