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
  // A block of whole large pages starts on a large-page boundary, so that
  // the system can back all of it with large pages: one page fault for each
  // 2 MiB instead of one for each 4 KiB. The mapping is taken one large page
  // longer and the slack at both ends is given back.
  constexpr size_t largePage = size_t{2} << 20;
  const bool large = size >= largePage && size % largePage == 0;
  const size_t mapped = large ? size + largePage : size;
  void* map = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map == MAP_FAILED) throw std::bad_alloc();
  if (!large) return map;
  const auto begin = reinterpret_cast<uintptr_t>(map);
  const uintptr_t aligned = (begin + largePage - 1) & ~(uintptr_t{largePage} - 1);
  if (aligned > begin) ::munmap(map, aligned - begin);
  const uintptr_t end = begin + mapped;
  if (end > aligned + size) ::munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
  void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(block, size, MADV_HUGEPAGE);
#endif
  return block;
}

void ReleaseSystemBlock(void* block, size_t size) {
  if (block != nullptr) ::munmap(block, size);
}

}  // namespace platform
