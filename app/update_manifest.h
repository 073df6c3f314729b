#pragma once
// The update manifest: the signed list of what the server's update holds.
//
//   qdupdate-manifest 1
//   serial 2026121101
//   file qd.zip 425123 sha256 <64 lowercase hex digits>
//   file newupd.dat 1234 sha256 <64 lowercase hex digits>
//
// Lines end in LF or CR LF (the last one's end optional), fields are single
// blanks apart, numbers are decimal without sign or leading zeros, the serial
// is 1 to 2^63-1. Nothing else is a manifest.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The manifest's size limit in bytes, and that of its signature.
constexpr size_t MaxManifestSize = 4096;
constexpr size_t MaxManifestSignatureSize = 512;

struct TManifestFile {
  uint64_t Size = 0;
  std::array<uint8_t, 32> Sha256{};
};

struct TUpdateManifest {
  uint64_t Serial = 0;
  TManifestFile Package;     // qd.zip
  TManifestFile UpdateList;  // newupd.dat
};

// The manifest that text holds exactly, or nullopt.
std::optional<TUpdateManifest> ParseUpdateManifest(std::string_view text);

// A digest as the manifest writes it: 64 lowercase hexadecimal digits.
std::string Sha256Hex(const std::array<uint8_t, 32>& digest);

// The manifest's text for these values, LF line ends, as the publisher's
// tool writes it; ParseUpdateManifest reads it back to the same values.
std::string FormatUpdateManifest(const TUpdateManifest& manifest);
