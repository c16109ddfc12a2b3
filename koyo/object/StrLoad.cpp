#include "koyo/object/StrLoad.h"

#include <algorithm>
#include <cstring>

namespace koyo {

StrLoad::~StrLoad() { Close(); }

bool StrLoad::Open(const char* data, int64_t length, int32_t bufferSize) {
  Close();
  if (length < 0 || (!data && length > 0)) return false;
  if (!AllocateBuffer(bufferSize)) return false;
  data_ = data;
  length_ = length;
  offset_ = 0;
  open_ = true;
  return true;
}

void StrLoad::Close() {
  data_ = nullptr;
  length_ = 0;
  offset_ = 0;
  open_ = false;
  StreamLoad::Close();
}

int64_t StrLoad::ReadSource(char* buf, int64_t n) {
  if (!open_ || n <= 0) return 0;
  int64_t take = std::min(n, length_ - offset_);
  if (take <= 0) return 0;
  std::memcpy(buf, data_ + offset_, static_cast<size_t>(take));
  offset_ += take;
  return take;
}

bool StrLoad::Refill() {
  DropBuffer();
  if (!open_ || !buffer_) return false;
  count_ = static_cast<int32_t>(ReadSource(buffer_.get(), bufferSize_));
  return count_ > 0;
}

int64_t StrLoad::Tell() const {
  if (!open_) return -1;
  return offset_ - (count_ - pos_);
}

int StrLoad::Seek(int64_t position) {
  if (!open_ || position < 0 || position > length_) return -1;
  DropBuffer();
  offset_ = position;
  return 0;
}

int64_t StrLoad::Size() const { return open_ ? length_ : 0; }

bool StrLoad::AtEnd() const { return pos_ >= count_ && (!open_ || offset_ >= length_); }

}  // namespace koyo
