#pragma once
// Whole transfers on file descriptors: every byte written, everything read
// to the end, or one descriptor copied into another, each retried after an
// interrupted call.

#include <cstddef>
#include <string_view>

#include <string>

namespace platform::posix {

// Writes all of data; false when a write fails or writes nothing.
bool WriteAll(int fd, std::string_view data);

enum class ReadEnd { Complete, Failed, TooLarge };
// Appends everything up to the end of the file to data. Stops with TooLarge
// once data holds more than limit bytes; after Failed errno tells why.
ReadEnd ReadAll(int fd, std::string& data, size_t limit);

// Copies everything from in, up to its end, to out; false on any failure.
bool CopyAll(int in, int out);

}  // namespace platform::posix
