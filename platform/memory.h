#pragma once
// Hints to the system about large blocks of memory.

#include <cstddef>

namespace platform {

// Tells the system that a large block will be filled whole, so that it may
// back it with large pages: a body of hundreds of MiB then costs hundreds of
// page faults instead of tens of thousands. A hint only; nothing changes
// where the system has no such pages.
void AdviseLargeBlock(void* block, size_t size);

}  // namespace platform
