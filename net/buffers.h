#pragma once
// Byte buffers of a connection. TNetSimpleBuffer is a growable block whose
// consumed bytes are moved out at once; TNetManagedBuffer, the input queue,
// consumes by advancing past the front and moves the rest only now and then,
// so that taking many short lines does not move the queue each time.

#include <cstdint>
#include <functional>

#include "core/ansistring.h"

class TNetSimpleBuffer {
 public:
  TNetSimpleBuffer() = default;
  TNetSimpleBuffer(const TNetSimpleBuffer&) = delete;
  TNetSimpleBuffer& operator=(const TNetSimpleBuffer&) = delete;
  virtual ~TNetSimpleBuffer();

  // Called with the byte count after every Consume.
  std::function<void(int64_t count)> OnConsumed;

  // The bytes not yet consumed.
  virtual const char* Data() const { return memory; }
  virtual int64_t Size() const { return size; }
  bool Empty() const { return Size() == 0; }

  void Append(const void* bytes, int64_t count);
  // Room for count more bytes at the end, to be filled by the caller and kept
  // with CommitTail; the room is not part of the content until then.
  char* ReserveTail(int64_t count);
  void CommitTail(int64_t count);
  // Raises ENetNotEnoughDataInBuffer "Not enough data in buffer." when fewer
  // than count bytes are there.
  virtual void Consume(int64_t count);
  // The first count bytes as text, consumed.
  AnsiString TakeText(int64_t count);
  // Drops everything without OnConsumed.
  virtual void Clear();

 protected:
  void checkAvailable(int64_t count) const;
  void release();

  char* memory = nullptr;
  int64_t size = 0;
  int64_t capacity = 0;
};

class TNetManagedBuffer : public TNetSimpleBuffer {
 public:
  const char* Data() const override { return memory + ConsumedCount; }
  int64_t Size() const override { return size - ConsumedCount; }
  void Consume(int64_t count) override;
  void Clear() override;

  int64_t ConsumedCount = 0;
  int64_t CompactThreshold = 32768;

 private:
  void Compact();
};
