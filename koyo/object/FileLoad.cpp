#include "koyo/object/FileLoad.h"

#include <algorithm>
#include <cerrno>
#include <sys/types.h>

#include "koyo/platform/SystemError.h"

namespace koyo {

static_assert(sizeof(off_t) >= 8, "file positions must be 64-bit");

FileLoad::~FileLoad() { Close(); }

void FileLoad::StoreError(int fallback) { error_ = errno != 0 ? errno : fallback; }

bool FileLoad::Open(const char* path, const char* mode, int64_t windowStart,
                    int64_t windowLength, int32_t bufferSize) {
  Close();
  error_ = 0;
  failed_ = false;
  if (!AllocateBuffer(bufferSize)) {
    error_ = ENOMEM;
    return false;
  }
  if (!path || !*path) {
    file_ = stdin;
    isStdin_ = true;
    windowStart_ = 0;
    windowLength_ = -1;
    sourcePos_ = 0;
    return true;
  }
  if (windowStart < 0) {
    error_ = EINVAL;
    ReleaseBuffer();
    return false;
  }
  errno = 0;
  file_ = std::fopen(path, mode && *mode ? mode : "rb");
  if (!file_) {
    StoreError(ENOENT);
    ReleaseBuffer();
    return false;
  }
  path_ = path;
  errno = 0;
  if (fseeko(file_, 0, SEEK_END) != 0) {
    StoreError(EIO);
    Close();
    return false;
  }
  int64_t fileSize = ftello(file_);
  if (fileSize < 0 || fseeko(file_, static_cast<off_t>(windowStart), SEEK_SET) != 0) {
    StoreError(EIO);
    Close();
    return false;
  }
  int64_t remaining = std::max<int64_t>(0, fileSize - windowStart);
  windowStart_ = windowStart;
  windowLength_ = windowLength < 0 ? remaining : std::min(windowLength, remaining);
  sourcePos_ = 0;
  return true;
}

void FileLoad::Close() {
  if (file_ && !isStdin_) std::fclose(file_);
  file_ = nullptr;
  isStdin_ = false;
  path_.clear();
  windowStart_ = 0;
  windowLength_ = 0;
  sourcePos_ = 0;
  StreamLoad::Close();
}

int64_t FileLoad::Remaining() const {
  if (isStdin_) return INT64_MAX;
  return std::max<int64_t>(0, windowLength_ - sourcePos_);
}

int64_t FileLoad::ReadSource(char* buf, int64_t n) {
  if (!file_ || n <= 0) return 0;
  int64_t want = std::min(n, Remaining());
  if (want <= 0) return 0;
  errno = 0;
  size_t got = std::fread(buf, 1, static_cast<size_t>(want), file_);
  sourcePos_ += static_cast<int64_t>(got);
  if (static_cast<int64_t>(got) < want) {
    if (std::ferror(file_)) {
      StoreError(EIO);
      failed_ = true;
    } else if (!isStdin_) {
      // The file ended inside the window: it shrank since it was opened.
      StoreError(EIO);
    }
  }
  return static_cast<int64_t>(got);
}

bool FileLoad::Refill() {
  DropBuffer();
  if (!file_ || !buffer_) return false;
  int64_t got = ReadSource(buffer_.get(), bufferSize_);
  count_ = static_cast<int32_t>(got);
  return got > 0;
}

int64_t FileLoad::Tell() const {
  if (!file_ || failed_) return -1;
  return sourcePos_ - (count_ - pos_);
}

int FileLoad::Seek(int64_t position) {
  if (!file_ || position < 0) return -1;
  if (!isStdin_ && position > windowLength_) return -1;
  DropBuffer();
  errno = 0;
  if (fseeko(file_, static_cast<off_t>(windowStart_ + position), SEEK_SET) != 0) {
    StoreError(EIO);
    return -1;
  }
  std::clearerr(file_);
  failed_ = false;
  sourcePos_ = position;
  return 0;
}

int64_t FileLoad::Size() const {
  if (!file_ || isStdin_) return 0;
  return windowLength_;
}

bool FileLoad::AtEnd() const {
  if (pos_ < count_) return false;
  if (!file_) return true;
  if (isStdin_) return std::feof(file_) != 0 || std::ferror(file_) != 0;
  return sourcePos_ >= windowLength_ || failed_;
}

std::string FileLoad::ErrorText() const { return platform::ErrorText(error_); }

}  // namespace koyo
