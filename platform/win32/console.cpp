#include "platform/console.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace platform {

void SetStdoutBinary() {
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace platform
