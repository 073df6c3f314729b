#pragma once
// Large blocks of memory: hints to the system, and blocks taken straight
// from it.

#include <cstddef>

namespace platform {

// Tells the system that a large block will be filled whole, so that it may
// back it with large pages: a body of hundreds of MiB then costs hundreds of
// page faults instead of tens of thousands. A hint only; nothing changes
// where the system has no such pages.
void AdviseLargeBlock(void* block, size_t size);

// Takes a block of size bytes straight from the system (pages that are
// committed as they are first written), and gives one back. A released
// block's memory returns to the system at once, whatever the allocator would
// keep for later, so that memory moved block by block into another place
// never counts twice. AllocateSystemBlock throws std::bad_alloc when the
// system has no room.
void* AllocateSystemBlock(size_t size);
void ReleaseSystemBlock(void* block, size_t size);

}  // namespace platform
