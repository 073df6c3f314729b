#include "tests/support/real_server.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <unistd.h>

namespace interop {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// One word for the shell, in single quotes.
std::string ShellWord(const std::string& s) {
  std::string r = "'";
  for (const char c : s) {
    if (c == '\'')
      r += "'\\''";
    else
      r += c;
  }
  return r + "'";
}

std::string ServersDir() {
  return Env("QD_TEST_SOURCE_DIR") + "/tests/support/servers";
}

}  // namespace

std::string ScratchDir(const std::string& name) {
  // The process id keeps apart the folders of test processes that ctest runs
  // side by side.
  const std::string dir =
      Env("QD_TEST_BINARY_DIR") + "/tests/scratch/" + name + "_" + std::to_string(::getpid());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

RealServer::RealServer(const std::string& kind, const std::string& folder,
                       const std::vector<std::string>& extra)
    : dir(folder) {
  std::filesystem::create_directories(dir);
  std::string command = "bash " + ShellWord(ServersDir() + "/start.sh") + " " + ShellWord(kind) +
                        " " + ShellWord(dir);
  for (const auto& e : extra) command += " " + ShellWord(e);
  command += " > " + ShellWord(dir + "/start.out");
  if (std::system(command.c_str()) == 0) port = std::atoi(ReadFile(dir + "/start.out").c_str());
  if (port == 0) std::cerr << "could not start " << kind << " in " << dir << "\n";
}

RealServer::~RealServer() {
  const std::string command = "bash " + ShellWord(ServersDir() + "/stop.sh") + " " + ShellWord(dir);
  if (std::system(command.c_str()) != 0)
    std::cerr << "could not stop the server in " << dir << "\n";
}

std::string RealServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port) + path;
}

Run RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& dir, const std::string& cwd) {
  std::string command = cwd.empty() ? "" : "cd " + ShellWord(cwd) + " && ";
  command += ShellWord(program);
  for (const auto& a : args) command += " " + ShellWord(a);
  const std::string outPath = dir + "/run.out", errPath = dir + "/run.err";
  command += " > " + ShellWord(outPath) + " 2> " + ShellWord(errPath) + " < /dev/null";
  Run r;
  const int status = std::system(command.c_str());
  r.exitCode = status >= 0 && (status & 0x7f) == 0 ? (status >> 8) & 0xff : -1;
  r.out = ReadFile(outPath);
  r.err = ReadFile(errPath);
  return r;
}

std::string QdgetPath() {
  return Env("QD_TEST_BINARY_DIR") + "/tools/qdget/qdget";
}

}  // namespace interop
