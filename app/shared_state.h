#pragma once
// State that the two dialogs share for the life of the process.

#include <cstdint>

#include "core/ansistring.h"

// The update list as last downloaded; read by the install command.
extern AnsiString NewUpdateText;

// The serial of the signed update that the download command checked, or 0
// after an unsigned download; the install command records it.
extern uint64_t NewUpdateSerial;

// The product's folder under the common application-data folder. Computed
// each time; the folder is not created.
AnsiString DataFolder();
