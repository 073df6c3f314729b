#pragma once
// Helpers of the archiver tests: scratch folders, files, outside tools, and
// a small ZIP writer for archives whose bytes a test must control exactly.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ziptest {

namespace fs = std::filesystem;

// The text with every byte that is not a letter or a digit turned into "_",
// for test names and folder names.
std::string Identifier(const std::string& text);
// A fresh, empty folder of the running test under the build folder.
fs::path ScratchDir(const std::string& name);
std::string ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, const std::string& data);
// Whether a program is on PATH.
bool HaveTool(const std::string& tool);
// Runs a shell command; its exit status.
int RunShell(const std::string& command);
// Quotes a text for the shell.
std::string Quote(const std::string& text);
fs::path QdzipPath();
// Every file and folder under root: relative path -> content ("<dir>" for a
// folder, "<link>" for a symbolic link).
std::map<std::string, std::string> TreeOf(const fs::path& root);

// Raw deflate data (no zlib header) of data; level 0 makes stored blocks.
std::string RawDeflate(const std::string& data, int level = 6);
// What zlib inflates from raw deflate data, as far as it goes.
std::string RawInflate(const std::string& data);

struct TestEntry {
  std::string name;  // stored bytes
  std::string data;  // uncompressed bytes
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t externalAttributes = 0x20;
  std::string extra;  // central extra field bytes
  std::string comment;
  std::optional<uint32_t> crc;         // stored CRC-32 instead of the real one
  std::optional<std::string> payload;  // stored data instead of the encoded one
  // The local header leaves CRC-32 and sizes to a trailing data descriptor
  // (flag bit 3), as streaming writers do.
  bool dataDescriptor = false;
  uint16_t versionNeeded = 20;
  uint16_t dosTime = 0x6000;  // 12:00:00
  uint16_t dosDate = 0x5821;  // 2024-01-01
};

struct TestArchive {
  std::vector<TestEntry> entries;
  std::string comment;
  // Bytes in front of the archive; with offsetsCountStub the stored offsets
  // count them, else they count from the first local header.
  std::string stub;
  bool offsetsCountStub = false;
  // Entry count in the end record instead of the real one.
  std::optional<uint16_t> endCount;
};

std::string BuildZip(const TestArchive& archive);
// An entry of the given name and data, stored (method 0) or deflated (8).
TestEntry FileEntry(const std::string& name, const std::string& data, uint16_t method = 0);

}  // namespace ziptest
