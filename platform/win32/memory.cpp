#include "platform/memory.h"

#include <new>

#include "platform/win32/windows_api.h"

namespace platform {

// Large pages on Windows need a privilege that the program does not have;
// ordinary pages serve.
void AdviseLargeBlock(void*, size_t) {}

void* AllocateSystemBlock(size_t size) {
  void* block = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void ReleaseSystemBlock(void* block, size_t) {
  if (block != nullptr) ::VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace platform
