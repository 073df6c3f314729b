#include "net/buffers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "net/exceptions.h"

namespace {

// A buffer keeps up to this much memory when it becomes empty, so that a
// connection that receives piece after piece does not allocate each time.
constexpr int64_t keptCapacity = 1 << 20;

}  // namespace

TNetSimpleBuffer::~TNetSimpleBuffer() {
  std::free(memory);
}

char* TNetSimpleBuffer::ReserveTail(int64_t count) {
  const int64_t wanted = size + count;
  if (wanted > capacity) {
    const int64_t grown = std::max(wanted, capacity + capacity / 2);
    char* p = static_cast<char*>(std::realloc(memory, static_cast<size_t>(grown)));
    if (p == nullptr) throw std::bad_alloc();
    memory = p;
    capacity = grown;
  }
  return memory + size;
}

void TNetSimpleBuffer::CommitTail(int64_t count) {
  size += count;
}

void TNetSimpleBuffer::Append(const void* bytes, int64_t count) {
  if (count <= 0) return;
  std::memcpy(ReserveTail(count), bytes, static_cast<size_t>(count));
  CommitTail(count);
}

void TNetSimpleBuffer::checkAvailable(int64_t count) const {
  if (count > Size()) throw ENetNotEnoughDataInBuffer("Not enough data in buffer.");
}

void TNetSimpleBuffer::release() {
  if (capacity > keptCapacity) {
    std::free(memory);
    memory = nullptr;
    capacity = 0;
  }
  size = 0;
}

void TNetSimpleBuffer::Consume(int64_t count) {
  checkAvailable(count);
  if (count <= 0) return;
  std::memmove(memory, memory + count, static_cast<size_t>(size - count));
  size -= count;
  if (OnConsumed) OnConsumed(count);
}

AnsiString TNetSimpleBuffer::TakeText(int64_t count) {
  checkAvailable(count);
  AnsiString text(Data(), static_cast<size_t>(std::max<int64_t>(count, 0)));
  Consume(count);
  return text;
}

void TNetSimpleBuffer::Clear() {
  release();
}

void TNetManagedBuffer::Consume(int64_t count) {
  checkAvailable(count);
  if (count <= 0) return;
  if (count == Size()) {
    Clear();
  } else {
    ConsumedCount += count;
    if (ConsumedCount >= CompactThreshold) Compact();
  }
  if (OnConsumed) OnConsumed(count);
}

void TNetManagedBuffer::Compact() {
  std::memmove(memory, memory + ConsumedCount, static_cast<size_t>(size - ConsumedCount));
  size -= ConsumedCount;
  ConsumedCount = 0;
}

void TNetManagedBuffer::Clear() {
  ConsumedCount = 0;
  release();
}
