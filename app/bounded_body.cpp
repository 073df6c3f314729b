#include "app/bounded_body.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

[[noreturn]] void tooLong() {
  throw EBodyTooLong("The body is longer than expected");
}

}  // namespace

TBoundedBody::TBoundedBody(uint64_t limit)
    : limit(std::min<uint64_t>({limit, AnsiString().max_size(),
                                static_cast<uint64_t>(std::numeric_limits<int64_t>::max())})) {}

int64_t TBoundedBody::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(Size() - position, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int64_t TBoundedBody::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (static_cast<uint64_t>(count) > limit || static_cast<uint64_t>(position) > limit - count) {
    tooLong();
  }
  const int64_t end = position + count;
  if (end > Size()) data.resize(static_cast<size_t>(end));
  std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
  position = end;
  return count;
}

int64_t TBoundedBody::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : Size();
  position = std::max<int64_t>(base + offset, 0);
  return position;
}

void TBoundedBody::SetSize(int64_t size) {
  if (size < 0) size = 0;
  if (static_cast<uint64_t>(size) > limit) tooLong();
  data.resize(static_cast<size_t>(size));
  if (position > size) position = size;
}
