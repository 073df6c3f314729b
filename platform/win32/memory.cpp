#include "platform/memory.h"

namespace platform {

// Large pages on Windows need a privilege that the program does not have;
// ordinary pages serve.
void AdviseLargeBlock(void*, size_t) {}

}  // namespace platform
