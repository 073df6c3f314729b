#pragma once
// The platform's own widget back-end: FLTK on Linux, Win32 controls on
// Windows. Raises Exception when the display cannot be opened.

#include <memory>

#include "ui/backend.h"

namespace ui {

std::unique_ptr<TWidgetBackend> MakeNativeBackend();

}  // namespace ui
