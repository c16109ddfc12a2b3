#include "koyo/object/FileLoad.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "koyo/platform/SystemError.h"

namespace koyo {

static_assert(sizeof(off_t) >= 8, "file positions must be 64-bit");

FileLoad::~FileLoad() { Close(); }

void FileLoad::StoreError(int fallback) { error_ = errno != 0 ? errno : fallback; }

bool FileLoad::Open(const char* path, const char*, int64_t windowStart, int64_t windowLength,
                    int32_t bufferSize) {
  Close();
  error_ = 0;
  failed_ = false;
  if (!AllocateBuffer(bufferSize)) {
    error_ = ENOMEM;
    return false;
  }
  if (!path || !*path) {
    fd_ = STDIN_FILENO;
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
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    StoreError(ENOENT);
    ReleaseBuffer();
    return false;
  }
  path_ = path;
  struct stat st;
  errno = 0;
  if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
    StoreError(EISDIR);
    Close();
    return false;
  }
  int64_t fileSize = static_cast<int64_t>(st.st_size);
  if (!S_ISREG(st.st_mode)) {
    // A device or pipe has no size to ask; the end of the window is where
    // seeking to the end says it is.
    off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0) {
      StoreError(EIO);
      Close();
      return false;
    }
    fileSize = static_cast<int64_t>(end);
  }
  int64_t remaining = std::max<int64_t>(0, fileSize - windowStart);
  windowStart_ = windowStart;
  windowLength_ = windowLength < 0 ? remaining : std::min(windowLength, remaining);
  sourcePos_ = 0;
  return true;
}

void FileLoad::Close() {
  if (fd_ >= 0 && !isStdin_) ::close(fd_);
  fd_ = -1;
  isStdin_ = false;
  stdinEnded_ = false;
  path_.clear();
  windowStart_ = 0;
  windowLength_ = 0;
  sourcePos_ = 0;
  bufferStart_ = 0;
  StreamLoad::Close();
}

int64_t FileLoad::Remaining() const {
  if (isStdin_) return INT64_MAX;
  return std::max<int64_t>(0, windowLength_ - sourcePos_);
}

int64_t FileLoad::ReadSource(char* buf, int64_t n) {
  if (fd_ < 0 || n <= 0) return 0;
  int64_t want = std::min(n, Remaining());
  if (want <= 0) return 0;
  int64_t got = 0;
  while (got < want) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(want - got, SSIZE_MAX));
    errno = 0;
    ssize_t r = isStdin_ ? ::read(fd_, buf + got, chunk)
                         : ::pread(fd_, buf + got, chunk, static_cast<off_t>(windowStart_ + sourcePos_ + got));
    if (r < 0) {
      if (errno == EINTR) continue;
      StoreError(EIO);
      failed_ = true;
      break;
    }
    if (r == 0) {
      if (isStdin_) {
        stdinEnded_ = true;
      } else {
        // The file ended inside the window: it shrank since it was opened.
        StoreError(EIO);
      }
      break;
    }
    got += r;
  }
  sourcePos_ += got;
  return got;
}

bool FileLoad::Refill() {
  DropBuffer();
  if (fd_ < 0 || !buffer_) return false;
  bufferStart_ = sourcePos_;
  int64_t got = ReadSource(buffer_.get(), bufferSize_);
  count_ = static_cast<int32_t>(got);
  return got > 0;
}

int64_t FileLoad::Tell() const {
  if (fd_ < 0 || failed_) return -1;
  return sourcePos_ - (count_ - pos_);
}

int FileLoad::Seek(int64_t position) {
  if (fd_ < 0 || position < 0) return -1;
  if (!isStdin_ && position > windowLength_) return -1;
  failed_ = false;
  // A place inside the buffer is reached without reading again, as long as
  // the buffer still ends where the source stands (ReadBlock reads past it).
  if (count_ > 0 && bufferStart_ + count_ == sourcePos_ && position >= bufferStart_ && position < sourcePos_) {
    pos_ = static_cast<int32_t>(position - bufferStart_);
    return 0;
  }
  DropBuffer();
  if (isStdin_) {
    stdinEnded_ = false;
    errno = 0;
    if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) {
      StoreError(EIO);
      return -1;
    }
  }
  sourcePos_ = position;
  return 0;
}

int64_t FileLoad::Size() const {
  if (fd_ < 0 || isStdin_) return 0;
  return windowLength_;
}

bool FileLoad::AtEnd() const {
  if (pos_ < count_) return false;
  if (fd_ < 0) return true;
  if (isStdin_) return stdinEnded_ || failed_;
  return sourcePos_ >= windowLength_ || failed_;
}

std::string FileLoad::ErrorText() const { return platform::ErrorText(error_); }

}  // namespace koyo
