#pragma once
// A response body kept in memory up to a limit. A body that would grow past
// the limit, by its announced length or by the bytes that arrive, raises
// EBodyTooLong at once, which ends the transfer: no more than one receive
// buffer beyond the limit is ever read.

#include <cstdint>

#include "core/exceptions.h"
#include "core/streams.h"

QD_DECLARE_EXCEPTION(EBodyTooLong, Exception);

class TBoundedBody : public TStream {
 public:
  // A limit past what memory can address is as good as that much.
  explicit TBoundedBody(uint64_t limit);

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data.size()); }
  void SetSize(int64_t size) override;

  const AnsiString& Data() const { return data; }
  AnsiString Take() { return std::move(data); }

 private:
  uint64_t limit;
  AnsiString data;
  int64_t position = 0;
};
