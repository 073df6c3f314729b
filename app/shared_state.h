#pragma once
// State that the two dialogs share for the life of the process.

#include "core/ansistring.h"

// The update list as last downloaded; read by the install command.
extern AnsiString NewUpdateText;

// The product's folder under the common application-data folder. Computed
// each time; the folder is not created.
AnsiString DataFolder();
