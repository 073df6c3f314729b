#include "platform/console.h"

namespace platform {

// POSIX streams carry bytes unchanged already.
void SetStdoutBinary() {}

}  // namespace platform
