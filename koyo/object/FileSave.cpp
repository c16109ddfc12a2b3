#include "koyo/object/FileSave.h"

#include <cerrno>
#include <sys/types.h>

#include "koyo/platform/Files.h"
#include "koyo/platform/SystemError.h"

namespace koyo {

FileSave::~FileSave() { Close(); }

bool FileSave::Open(const char* path, const char* mode, int32_t bufferSize) {
  Close();
  error_ = 0;
  if (!path || !*path) {
    if (!AllocateBuffer(0)) return false;
    file_ = stdout;
    isStdout_ = true;
    return true;
  }
  if (!AllocateBuffer(bufferSize)) {
    error_ = ENOMEM;
    return false;
  }
  errno = 0;
  file_ = std::fopen(path, mode && *mode ? mode : "wb");
  if (!file_) {
    error_ = errno ? errno : EIO;
    ReleaseBuffer();
    return false;
  }
  if (fseeko(file_, 0, SEEK_END) != 0) {
    error_ = errno ? errno : EIO;
    std::fclose(file_);
    file_ = nullptr;
    ReleaseBuffer();
    return false;
  }
  path_ = path;
  return true;
}

void FileSave::Close() {
  if (file_) {
    Flush();
    if (isStdout_) {
      std::fflush(file_);
    } else if (std::fclose(file_) != 0 && error_ == 0) {
      error_ = errno ? errno : EIO;
    }
  }
  file_ = nullptr;
  isStdout_ = false;
  path_.clear();
  ReleaseBuffer();
}

int64_t FileSave::Emit(const char* data, int64_t n) {
  if (!file_ || n <= 0) return 0;
  errno = 0;
  size_t done = std::fwrite(data, 1, static_cast<size_t>(n), file_);
  if (static_cast<int64_t>(done) < n) error_ = errno ? errno : EIO;
  if (isStdout_) std::fflush(file_);
  return static_cast<int64_t>(done);
}

bool FileSave::Flush() {
  bool ok = StreamSave::Flush();
  if (file_ && std::fflush(file_) != 0) {
    error_ = errno ? errno : EIO;
    ok = false;
  }
  return ok;
}

int64_t FileSave::Tell() {
  if (!file_) return -1;
  int64_t at = ftello(file_);
  return at < 0 ? -1 : at + pending_;
}

int FileSave::Seek(int64_t position) {
  if (!file_ || position < 0) return -1;
  Flush();
  if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0) {
    error_ = errno ? errno : EIO;
    return -1;
  }
  return 0;
}

int64_t FileSave::Size() {
  if (!file_ || isStdout_) return 0;
  std::fflush(file_);
  int64_t size = platform::FileSize(path_.c_str());
  return size < 0 ? 0 : size;
}

std::string FileSave::ErrorText() const { return platform::ErrorText(error_); }

}  // namespace koyo
