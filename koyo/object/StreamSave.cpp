#include "koyo/object/StreamSave.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "koyo/object/NumberText.h"

namespace koyo {

StreamSave::~StreamSave() = default;

bool StreamSave::AllocateBuffer(int32_t size) {
  pending_ = 0;
  if (size == 0) {
    buffer_.reset();
    bufferSize_ = 0;
    return true;
  }
  if (size < 1) size = kDefaultBufferSize;
  buffer_.reset(new (std::nothrow) char[size]);
  if (!buffer_) return false;
  bufferSize_ = size;
  return true;
}

void StreamSave::ReleaseBuffer() {
  buffer_.reset();
  bufferSize_ = 0;
  pending_ = 0;
}

void StreamSave::Close() {
  Flush();
  ReleaseBuffer();
}

bool StreamSave::Flush() {
  if (pending_ == 0) return true;
  int64_t n = pending_;
  int64_t done = Emit(buffer_.get(), n);
  pending_ = 0;
  return done == n;
}

int64_t StreamSave::WriteBlock(const char* data, int64_t n) {
  if (!data || n <= 0) return 0;
  Flush();
  return Emit(data, n);
}

StreamSave& StreamSave::Write(const char* data, int64_t n) {
  if (!data || n <= 0) return *this;
  if (!buffer_) {
    Emit(data, n);
    return *this;
  }
  while (n > 0) {
    if (pending_ == bufferSize_) Flush();
    if (pending_ == 0 && n >= bufferSize_) {
      // Whole buffers go straight out.
      Emit(data, n);
      return *this;
    }
    int64_t take = std::min<int64_t>(n, bufferSize_ - pending_);
    std::memcpy(buffer_.get() + pending_, data, static_cast<size_t>(take));
    pending_ += static_cast<int32_t>(take);
    data += take;
    n -= take;
  }
  return *this;
}

StreamSave& StreamSave::WriteString(const char* text) {
  if (text) Write(text, static_cast<int64_t>(std::strlen(text)));
  return *this;
}

StreamSave& StreamSave::Put(char c) { return Write(&c, 1); }

StreamSave& StreamSave::WriteReal(double value) {
  char text[kFormatBufferSize];
  size_t n = FormatReal(value, text, sizeof text);
  return Write(text, static_cast<int64_t>(n));
}

StreamSave& StreamSave::WriteInt(int64_t value) {
  char text[32];
  size_t n = FormatInteger(value, text, sizeof text);
  return Write(text, static_cast<int64_t>(n));
}

StreamSave& StreamSave::WriteBool(bool value) { return WriteString(value ? "true" : "false"); }

StreamSave& StreamSave::Format(const char* fmt, ...) {
  if (!fmt) return *this;
  char text[kFormatBufferSize];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(text, sizeof text, fmt, ap);
  va_end(ap);
  if (n < 0) return *this;
  if (n < static_cast<int>(sizeof text)) return Write(text, n);
  std::vector<char> big;
  try {
    big.resize(static_cast<size_t>(n) + 1);
  } catch (const std::bad_alloc&) {
    return *this;  // refused: nothing of it is written
  }
  va_start(ap, fmt);
  int m = std::vsnprintf(big.data(), big.size(), fmt, ap);
  va_end(ap);
  if (m == n) Write(big.data(), m);
  return *this;
}

StreamSave& EndLine(StreamSave& out) { return out.Write("\r\n", 2); }

}  // namespace koyo
