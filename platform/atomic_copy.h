#pragma once
// Copying a file over another so that the target is never seen half-written:
// the copy goes to a temporary file beside the target, is flushed to the
// disk, and then takes the target's place in one step.

#include "platform/ansi_text.h"

namespace platform {

// Copies source to dest, replacing an existing dest. On success dest holds
// exactly the bytes of source. On failure (source missing, no room, a dest
// that cannot be replaced, such as a module loaded from it on Windows or a
// folder) dest is left exactly as it was and the temporary file is removed.
bool CopyFileAtomic(const AnsiString& source, const AnsiString& dest);

}  // namespace platform
