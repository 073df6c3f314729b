#pragma once
// Files opened as handles for the runtime's file stream. A handle is an
// opaque integer; -1 stands for a file that could not be opened. Paths are
// Windows-style texts in the ANSI code page, as everywhere in the platform
// layer.

#include <cstdint>

#include "platform/ansi_text.h"

namespace platform {

using FileHandleValue = intptr_t;
constexpr FileHandleValue InvalidFileHandle = -1;

// Opens an existing file. The low two bits of mode choose the access (0 read,
// 1 write, 2 read and write); bits 4 to 6 choose what other openers may do
// (0x10 nothing, 0x20 read only, 0x30 write only, 0x40 everything). Sharing
// is enforced on Windows; POSIX has no mandatory sharing and ignores it.
FileHandleValue FileOpen(const AnsiString& path, uint16_t mode);
// Creates the file, or empties an existing one, for reading and writing,
// shared with no other opener. A symbolic link in its place is not followed.
FileHandleValue FileCreate(const AnsiString& path);
void FileClose(FileHandleValue handle);

// Both return the byte count transferred, or -1 on failure.
int64_t FileRead(FileHandleValue handle, void* buffer, int64_t count);
int64_t FileWrite(FileHandleValue handle, const void* buffer, int64_t count);
// origin 0 from the start, 1 from the current position, 2 from the end. The
// new position, or -1 on failure.
int64_t FileSeek(FileHandleValue handle, int64_t offset, int origin);
// Sets the file's length; the position is left where it was.
bool FileTruncate(FileHandleValue handle, int64_t size);
// Writes the file's buffers through to the disk.
bool FileFlush(FileHandleValue handle);
// The file's length, or -1 when it cannot be had.
int64_t FileGetSize(FileHandleValue handle);
// Sets the last-write time from an MS-DOS date and time read as local time;
// false for a date the system cannot represent.
bool FileSetDosDateTime(FileHandleValue handle, uint16_t dosDate, uint16_t dosTime);

}  // namespace platform
