#pragma once
// A fresh sandbox root per test (QD_ROOT points at it), and small file helpers
// for the registry, copy and install tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace road {

namespace fs = std::filesystem;

class SandboxTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The folder of a registry key under the root, spelt as on disk.
  fs::path keyFolder(const std::string& hive, const std::string& path = "") const;

  fs::path root;
};

void WriteBytes(const fs::path& path, const std::string& bytes);
std::string ReadBytes(const fs::path& path);
// The names in a folder.
std::set<std::string> Entries(const fs::path& folder);

}  // namespace road
