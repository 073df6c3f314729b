#include "http/rw_lock.h"

void TNetMultiReadExclusiveWriteSynchronizer::BeginRead() {
  std::unique_lock<std::mutex> lock(mutex);
  if (writeDepth > 0 && writer == std::this_thread::get_id()) {
    // The writer itself may read; it counts as one more level of its write.
    ++writeDepth;
    return;
  }
  // Waiting writers go first, so that a stream of readers cannot starve them.
  changed.wait(lock, [&] { return writeDepth == 0 && waitingWriters == 0; });
  ++readers;
}

void TNetMultiReadExclusiveWriteSynchronizer::EndRead() {
  std::unique_lock<std::mutex> lock(mutex);
  if (writeDepth > 0 && writer == std::this_thread::get_id()) {
    --writeDepth;
  } else if (readers > 0) {
    --readers;
  }
  changed.notify_all();
}

void TNetMultiReadExclusiveWriteSynchronizer::BeginWrite() {
  std::unique_lock<std::mutex> lock(mutex);
  const std::thread::id self = std::this_thread::get_id();
  if (writeDepth > 0 && writer == self) {
    ++writeDepth;
    return;
  }
  ++waitingWriters;
  changed.wait(lock, [&] { return writeDepth == 0 && readers == 0; });
  --waitingWriters;
  writer = self;
  writeDepth = 1;
}

void TNetMultiReadExclusiveWriteSynchronizer::EndWrite() {
  std::unique_lock<std::mutex> lock(mutex);
  if (writeDepth > 0 && --writeDepth == 0) writer = std::thread::id();
  changed.notify_all();
}
