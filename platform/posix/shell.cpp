#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include "platform/codepage.h"

extern char** environ;

namespace platform {

bool ShellOpen(const AnsiString& text) {
  // xdg-open gets the text as one argument vector entry, so no shell ever
  // parses it.
  std::string arg = AnsiToUtf8(text);
  char prog[] = "xdg-open";
  char* argv[] = {prog, arg.data(), nullptr};
  pid_t pid;
  if (::posix_spawnp(&pid, prog, nullptr, nullptr, argv, environ) != 0) return false;
  // xdg-open hands the text to the desktop and returns at once; wait for it so
  // no zombie is left behind.
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
