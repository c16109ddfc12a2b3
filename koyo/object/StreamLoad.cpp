#include "koyo/object/StreamLoad.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <vector>

#include "koyo/object/CharClass.h"
#include "koyo/object/NumberText.h"

namespace koyo {

StreamLoad::~StreamLoad() = default;

bool StreamLoad::AllocateBuffer(int32_t size) {
  if (size < 1) size = kDefaultBufferSize;
  buffer_.reset(new (std::nothrow) char[size]);
  if (!buffer_) return false;
  bufferSize_ = size;
  pos_ = count_ = 0;
  return true;
}

void StreamLoad::ReleaseBuffer() {
  buffer_.reset();
  bufferSize_ = 0;
  pos_ = count_ = 0;
}

void StreamLoad::Close() { ReleaseBuffer(); }

int StreamLoad::PeekRefill() {
  if (pos_ >= count_ && !Refill()) return -1;
  return static_cast<unsigned char>(buffer_[pos_]);
}

int StreamLoad::GetRefill() {
  if (pos_ >= count_ && !Refill()) return -1;
  return static_cast<unsigned char>(buffer_[pos_++]);
}

int StreamLoad::Next() {
  if (Get() < 0) return -1;
  return Peek();
}

void StreamLoad::Unget(int64_t n) {
  if (n <= 0) return;
  if (n <= pos_) {
    pos_ -= static_cast<int32_t>(n);
    return;
  }
  int64_t here = Tell();
  if (here >= n) Seek(here - n);
}

int64_t StreamLoad::SkipWhite() {
  int64_t skipped = 0;
  int c;
  while ((c = Peek()) >= 0 && IsPdfWhite(c)) {
    ++pos_;
    ++skipped;
  }
  return skipped;
}

void StreamLoad::SkipWhiteAndComments() {
  for (;;) {
    SkipWhite();
    if (Peek() != '%') return;
    ReadComment(nullptr, 0);
  }
}

int64_t StreamLoad::ReadComment(char* buf, int32_t size) {
  if (Peek() != '%') {
    if (buf && size > 0) buf[0] = '\0';
    return 0;
  }
  int64_t consumed = 0;
  int32_t stored = 0;
  int c;
  while ((c = Peek()) >= 0 && c != '\r' && c != '\n') {
    ++pos_;
    ++consumed;
    if (buf && stored < size - 1) buf[stored++] = static_cast<char>(c);
  }
  if (buf && size > 0) buf[stored] = '\0';
  return consumed;
}

char* StreamLoad::GetToken(char* buf, int32_t size) {
  if (!buf || size < 1) return nullptr;
  int32_t stored = 0;
  while (stored < size - 1) {
    int c = Peek();
    if (c < 0) break;
    if (IsPdfWhite(c)) {
      if (stored) break;
      SkipWhite();
      continue;
    }
    if (c == '%') {
      if (stored) break;
      ReadComment(nullptr, 0);
      continue;
    }
    if (IsPdfDelimiter(c)) {
      if (!stored) {
        ++pos_;
        buf[stored++] = static_cast<char>(c);
      }
      break;
    }
    ++pos_;
    buf[stored++] = static_cast<char>(c);
  }
  buf[stored] = '\0';
  return stored ? buf : nullptr;
}

bool StreamLoad::ExtractToken(char* buf) {
  char* t = GetToken(buf, kTokenSize);
  gcount_ = t ? static_cast<int64_t>(std::strlen(buf)) : 0;
  return t != nullptr;
}

bool StreamLoad::ExtractByte(char& c) {
  SkipWhiteAndComments();
  int b = Get();
  gcount_ = b < 0 ? 0 : 1;
  if (b < 0) return false;
  c = static_cast<char>(b);
  return true;
}

bool StreamLoad::ExtractReal(double& value) {
  char token[kTokenSize];
  if (!ExtractToken(token)) return false;
  value = TextToDouble(token);
  return true;
}

bool StreamLoad::ExtractInt(int32_t& value) {
  char token[kTokenSize];
  if (!ExtractToken(token)) return false;
  value = TextToLong32(token);
  return true;
}

bool StreamLoad::ExtractBool(bool& value) {
  char token[kTokenSize];
  if (!ExtractToken(token)) return false;
  if (std::strcmp(token, "true") == 0) value = true;
  else if (std::strcmp(token, "false") == 0) value = false;
  return true;
}

int32_t StreamLoad::GetLine(char* buf, int32_t size, bool dropEnd, bool skipEmpty) {
  if (!buf || size < 1) return 0;
  int32_t stored = 0;
  auto put = [&](int c) {
    if (stored < size - 1) buf[stored++] = static_cast<char>(c);
  };
  for (;;) {
    if (stored >= size - 1) break;
    int c = Peek();
    if (c < 0) break;
    if (c == '\r' || c == '\n') {
      ++pos_;
      bool crlf = false;
      if (c == '\r' && Peek() == '\n') {
        ++pos_;
        crlf = true;
      }
      if (stored == 0 && skipEmpty) continue;
      if (!dropEnd) {
        put(c);
        if (crlf) put('\n');
      }
      break;
    }
    ++pos_;
    put(c);
  }
  buf[stored] = '\0';
  gcount_ = stored;
  return stored;
}

int64_t StreamLoad::Read(char* buf, int64_t n) {
  int64_t done = 0;
  while (buf && done < n) {
    if (pos_ >= count_ && !Refill()) break;
    int64_t take = std::min<int64_t>(n - done, count_ - pos_);
    std::memcpy(buf + done, buffer_.get() + pos_, static_cast<size_t>(take));
    pos_ += static_cast<int32_t>(take);
    done += take;
  }
  gcount_ = done;
  return done;
}

int64_t StreamLoad::ReadBlock(char* buf, int64_t n) {
  if (!buf || n <= 0) {
    gcount_ = 0;
    return 0;
  }
  int64_t take = std::min<int64_t>(n, count_ - pos_);
  if (take > 0) {
    std::memcpy(buf, buffer_.get() + pos_, static_cast<size_t>(take));
    pos_ += static_cast<int32_t>(take);
  }
  int64_t done = take;
  if (done < n) {
    int64_t got = ReadSource(buf + done, n - done);
    if (got > 0) done += got;
  }
  gcount_ = done;
  return done;
}

int64_t StreamLoad::Find(const char* pattern, int32_t length) {
  if (!pattern || length <= 0 || length > kFindBlock) return -1;
  int64_t base = Tell();  // position of block[0]
  if (base < 0) return -1;
  std::vector<char> block;
  try {
    block.resize(static_cast<size_t>(kFindBlock) + length);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  int64_t have = 0;  // bytes in block: the tail kept from the last round plus new ones
  for (;;) {
    int64_t got = Read(block.data() + have, kFindBlock);
    if (got <= 0) return -1;
    have += got;
    const char* start = block.data();
    const char* limit = start + have - length;  // last place a whole match fits
    for (const char* p = start; p <= limit;) {
      const void* hit = std::memchr(p, pattern[0], static_cast<size_t>(limit - p + 1));
      if (!hit) break;
      p = static_cast<const char*>(hit);
      if (std::memcmp(p, pattern, static_cast<size_t>(length)) == 0) return base + (p - start);
      ++p;
    }
    // Keep the bytes that could begin a match continuing into the next block.
    int64_t keep = std::min<int64_t>(have, length - 1);
    std::memmove(block.data(), block.data() + have - keep, static_cast<size_t>(keep));
    base += have - keep;
    have = keep;
  }
}

}  // namespace koyo
