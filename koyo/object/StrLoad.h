// Buffered input from bytes in memory that belong to the caller (not copied).
#pragma once
#include "koyo/object/StreamLoad.h"

namespace koyo {

class StrLoad : public StreamLoad {
public:
  StrLoad() : StreamLoad(kKindStr, "Str") {}
  ~StrLoad() override;

  // Reads length bytes at data, which must stay valid while the stream is open.
  bool Open(const char* data, int64_t length, int32_t bufferSize = 0);

  void Close() override;
  bool Refill() override;
  int64_t Tell() const override;
  int Seek(int64_t position) override;
  int64_t Size() const override;
  bool AtEnd() const override;

protected:
  int64_t ReadSource(char* buf, int64_t n) override;

private:
  const char* data_ = nullptr;
  int64_t length_ = 0;
  int64_t offset_ = 0;
  bool open_ = false;
};

}  // namespace koyo
