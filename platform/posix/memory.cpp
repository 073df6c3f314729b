#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace platform {

void AdviseLargeBlock(void* block, size_t size) {
#ifdef MADV_HUGEPAGE
  // Only whole large pages inside the block can be advised; a block smaller
  // than two of them gains nothing.
  constexpr uintptr_t largePage = uintptr_t{2} << 20;
  if (size < 2 * largePage) return;
  const auto begin = reinterpret_cast<uintptr_t>(block);
  const uintptr_t first = (begin + largePage - 1) & ~(largePage - 1);
  const uintptr_t last = (begin + size) & ~(largePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)block;
  (void)size;
#endif
}

void* AllocateSystemBlock(size_t size) {
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return block;
}

void ReleaseSystemBlock(void* block, size_t size) {
  if (block != nullptr) ::munmap(block, size);
}

}  // namespace platform
