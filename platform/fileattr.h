#pragma once
// File attributes, folder creation and file dates in the Windows manner, for
// the archiver's extraction. On POSIX the read-only attribute is the absence
// of the write permission bits; the hidden, system, volume-label and archive
// attributes have no counterpart there and are neither stored nor reported
// (the folder attribute is reported for folders).

#include <cstdint>

#include "platform/ansi_text.h"

namespace platform {

constexpr uint32_t faReadOnly = 0x01;
constexpr uint32_t faHidden = 0x02;
constexpr uint32_t faSysFile = 0x04;
constexpr uint32_t faVolumeID = 0x08;
constexpr uint32_t faDirectory = 0x10;
constexpr uint32_t faArchive = 0x20;

// The attributes of a file or folder, or -1 when it does not exist.
int64_t GetFileAttributes(const AnsiString& path);
// Applies the attributes; false when the file cannot take them.
bool SetFileAttributes(const AnsiString& path, uint32_t attributes);
// Creates one folder whose parent exists; false when that fails.
bool CreateDirectory(const AnsiString& path);
// The file's last-write time in MS-DOS form (the date in the high 16 bits,
// the time in the low 16 bits, local time), or -1 when the file does not
// exist.
int32_t FileAge(const AnsiString& path);

}  // namespace platform
