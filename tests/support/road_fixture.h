#pragma once
// Pieces that the tests of the whole update road share: packages written by
// Info-ZIP's zip, random databases, credentials in the scrambled form of the
// proxy settings file, canned HTTP responses and line counts of logs.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace interop {

// size bytes from a generator seeded with seed: the same bytes every run.
std::string RandomBytes(size_t size, unsigned seed);

// A package written by Info-ZIP's zip holding the given files (name,
// bytes), made in scratch.
std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& files,
                  const std::string& scratch);

// The scrambled form of a credential as the proxy settings file keeps it
// after "$": each byte XOR its key character (a byte equal to its key
// character stays), then 40 added, modulo 256.
std::string Scramble(const std::string& plain);

// A counted HTTP/1.1 response, with "Connection: close" when close is set.
std::string Response(const std::string& status, const std::string& body, bool close = true);

// How many lines of text hold needle.
size_t CountLines(const std::string& text, const std::string& needle);

}  // namespace interop
