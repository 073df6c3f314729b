#pragma once
// Hands a document or web address to the desktop's handler for it.

#include "platform/ansi_text.h"

namespace platform {

// Opens text with the verb "open"; never passes it through a command
// interpreter. Returns false when the handler could not be started.
bool ShellOpen(const AnsiString& text);

}  // namespace platform
