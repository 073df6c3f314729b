#pragma once
// The updater's start-up: both dialogs on the given widget back-end, the loop
// until the main dialog closes. Returns the exit code, 0 in every case.

#include <memory>

#include "ui/backend.h"

int RunUpdater(std::unique_ptr<ui::TWidgetBackend> backend);
