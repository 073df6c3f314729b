#pragma once
// The updater's start-up: both dialogs on the given widget back-end, the loop
// until the main dialog closes. Returns the exit code, 0 in every case.

#include <memory>

#include "app/trusted_keys.h"
#include "ui/backend.h"

// keys are the publisher's keys that a signed update is checked against;
// with none the download takes the unsigned road.
int RunUpdater(std::unique_ptr<ui::TWidgetBackend> backend, const TTrustedKeys& keys = {});
