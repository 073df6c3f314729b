#include "tests/road/road_sandbox.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace road {

void SandboxTest::SetUp() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "-" + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  root = fs::temp_directory_path() / ("qd-road-" + std::to_string(::getpid()) + "-" + name);
  fs::remove_all(root);
  fs::create_directories(root / "Registry");
  ::setenv("QD_ROOT", root.c_str(), 1);
}

void SandboxTest::TearDown() {
  fs::remove_all(root);
}

fs::path SandboxTest::keyFolder(const std::string& hive, const std::string& path) const {
  fs::path folder = root / "Registry" / hive;
  return path.empty() ? folder : folder / path;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.insert(e.path().filename());
  return names;
}

}  // namespace road
