#pragma once
// Real servers and proxies from Debian's packages for one test, started by
// tests/support/servers/start.sh on 127.0.0.1 and a free port with their
// configuration in a folder under the build tree, and stopped when the
// object goes, also when the test fails. And qdget run as a child process.

#include <string>
#include <vector>

namespace interop {

// A fresh, empty folder under the build tree for one test.
std::string ScratchDir(const std::string& name);

// Writes bytes to a file, creating its folder.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

class RealServer {
 public:
  // kind and extra arguments as start.sh takes them; the folder is made
  // fresh. Port() is 0 when the server did not start (the reason is in the
  // folder's logs, which are printed).
  RealServer(const std::string& kind, const std::string& dir,
             const std::vector<std::string>& extra = {});
  ~RealServer();
  RealServer(const RealServer&) = delete;
  RealServer& operator=(const RealServer&) = delete;

  int Port() const { return port; }
  const std::string& Dir() const { return dir; }
  // The document root of a web server.
  std::string Www() const { return dir + "/www"; }
  std::string Url(const std::string& path) const;

 private:
  std::string dir;
  int port = 0;
};

struct Run {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the program with its arguments (each passed as one word, no shell
// expansion), standard output and error caught in files in dir, in the
// working directory cwd when one is given.
Run RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& dir, const std::string& cwd = "");

// The path of the qdget program under test.
std::string QdgetPath();

}  // namespace interop
