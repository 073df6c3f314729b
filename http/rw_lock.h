#pragma once
// A multiple-reader, single-writer lock. Several threads may read at once;
// a writer waits until no one reads and then holds the lock alone. A thread
// that holds write access may take it again (and read) without blocking.
//
//   lock.BeginWrite(); ... lock.EndWrite();
//   lock.BeginRead();  ... lock.EndRead();

#include <condition_variable>
#include <mutex>
#include <thread>

class TNetMultiReadExclusiveWriteSynchronizer {
 public:
  void BeginRead();
  void EndRead();
  void BeginWrite();
  void EndWrite();

 private:
  std::mutex mutex;
  std::condition_variable changed;
  int readers = 0;
  int writeDepth = 0;
  int waitingWriters = 0;
  std::thread::id writer;
};
