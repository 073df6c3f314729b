// The program: picks the widget back-end (QD_UI=headless for scripted runs)
// and starts the updater, or with options takes the unattended road.

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/silent_update.h"
#include "app/trusted_keys.h"
#include "app/updater.h"
#include "ui/headless/headless_backend.h"
#include "ui/native_backend.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  if (WantsUnattendedRun(args)) return RunUnattended(args, BuiltInUpdateKeys());
  const char* kind = std::getenv("QD_UI");
  std::unique_ptr<ui::TWidgetBackend> backend;
  try {
    if (kind && std::string_view(kind) == "headless")
      backend = ui::MakeHeadlessBackendFromEnvironment();
    else if (!kind || !*kind)
      backend = ui::MakeNativeBackend();
    else
      std::cerr << "qdupdate: unknown widget back-end '" << kind << "'\n";
  } catch (const std::exception& e) {
    // Without a working widget set there is no box to show the failure in.
    std::cerr << "qdupdate: " << e.what() << '\n';
  }
  if (!backend) return 0;
  return RunUpdater(std::move(backend), BuiltInUpdateKeys());
}
