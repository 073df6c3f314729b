#pragma once
// The unattended road: "--silent" downloads and installs the update with no
// window and no question, "--check" only says whether one is available. Both
// write one log line per step and end with an exit code that a scheduled
// task can act on.

#include <string>
#include <vector>

#include "app/trusted_keys.h"

enum SilentExitCode {
  ExitDone = 0,
  ExitUpdateAvailable = 10,
  ExitCannotConnect = 20,
  ExitDamaged = 30,
  ExitInstallFailed = 40,
  ExitBusy = 50,
  ExitBadCommandLine = 2
};

// True when the arguments (without the program's name) ask for the
// unattended road; without any the program opens its dialog as always.
bool WantsUnattendedRun(const std::vector<std::string>& args);

// Runs the unattended road for the arguments and returns its exit code.
int RunUnattended(const std::vector<std::string>& args, const TTrustedKeys& keys);
