#include "tests/support/road_fixture.h"

#include <filesystem>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/real_server.h"

namespace interop {

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 rnd(seed);
  std::string s(size, '\0');
  for (auto& c : s) c = static_cast<char>(rnd());
  return s;
}

std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& files,
                  const std::string& scratch) {
  namespace fs = std::filesystem;
  const std::string dir = scratch + "/zip_src";
  fs::remove_all(dir);
  std::vector<std::string> args = {"-q", "-X", "../package.zip"};
  for (const auto& [name, bytes] : files) {
    WriteFile(dir + "/" + name, bytes);
    args.push_back(name);
  }
  fs::remove(scratch + "/package.zip");
  const auto run = RunProgram("zip", args, scratch, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return ReadFile(scratch + "/package.zip");
}

std::string Scramble(const std::string& plain) {
  const std::string key = "VelkorMandrithex";
  std::string s = plain;
  for (size_t i = 0; i < s.size(); ++i) {
    const char k = key[i % 16];
    if (s[i] != k) s[i] = static_cast<char>(s[i] ^ k);
    s[i] = static_cast<char>(static_cast<unsigned char>(s[i]) + 40);
  }
  return s;
}

std::string Response(const std::string& status, const std::string& body, bool close) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
         (close ? "Connection: close\r\n" : "") + "\r\n" + body;
}

size_t CountLines(const std::string& text, const std::string& needle) {
  size_t n = 0;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.find(needle) != std::string::npos) ++n;
  return n;
}

}  // namespace interop
