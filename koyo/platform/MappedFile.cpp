#include "koyo/platform/MappedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "koyo/platform/Files.h"

namespace koyo::platform {

bool MappedFile::OpenTemp(const char* dir, const char* prefix, int64_t size, int64_t offset,
                          bool zeroFill, bool deleteOnClose) {
  Close();  // the flag below belongs to the new file only
  std::string name;
  if (!MakeTempFile(dir, prefix, name)) return false;
  deleteOnClose_ = deleteOnClose;
  if (!Open(name.c_str(), size, offset, zeroFill, true)) {
    int e = errno;
    ::unlink(name.c_str());
    errno = e;
    return false;
  }
  return true;
}

bool MappedFile::Open(const char* name, int64_t size, int64_t offset, bool zeroFill, bool create) {
  bool keepDelete = deleteOnClose_;
  Close();
  deleteOnClose_ = keepDelete;
  if (!name || size < 0 || offset < 0 || offset > size) {
    errno = EINVAL;
    return false;
  }
  int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0);
  fd_ = ::open(name, flags, 0600);
  if (fd_ < 0) return false;
  name_ = name;
  if (!MapView(size, offset, zeroFill)) {
    int e = errno;
    Close();
    errno = e;
    return false;
  }
  return true;
}

bool MappedFile::MapView(int64_t size, int64_t offset, bool zeroFill) {
  struct stat st;
  if (::fstat(fd_, &st) != 0) return false;
  if (st.st_size < size && ::ftruncate(fd_, static_cast<off_t>(size)) != 0) return false;
  // A shared mapping must start on a page boundary; keep the view at offset.
  int64_t page = ::sysconf(_SC_PAGESIZE);
  int64_t start = offset - offset % page;
  size_t length = static_cast<size_t>(size - start);
  if (length == 0) {
    view_ = nullptr;
    viewLength_ = 0;
  } else {
    void* p = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, static_cast<off_t>(start));
    if (p == MAP_FAILED) return false;
    view_ = static_cast<char*>(p) + (offset - start);
    viewLength_ = length;
  }
  size_ = size;
  offset_ = offset;
  if (zeroFill && view_) std::memset(view_, 0, static_cast<size_t>(size - offset));
  return true;
}

bool MappedFile::Resize(int64_t size, int64_t offset, bool zeroFill) {
  if (fd_ < 0 || size < 0 || offset < 0 || offset > size) {
    errno = EINVAL;
    return false;
  }
  if (view_) ::munmap(view_ - (offset_ % ::sysconf(_SC_PAGESIZE)), viewLength_);
  view_ = nullptr;
  viewLength_ = 0;
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0 || !MapView(size, offset, zeroFill)) {
    int e = errno;
    Close();
    errno = e;
    return false;
  }
  return true;
}

void MappedFile::Close() {
  int e = errno;
  if (view_) ::munmap(view_ - (offset_ % ::sysconf(_SC_PAGESIZE)), viewLength_);
  view_ = nullptr;
  viewLength_ = 0;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (deleteOnClose_ && !name_.empty()) ::unlink(name_.c_str());
  deleteOnClose_ = false;
  name_.clear();
  size_ = 0;
  offset_ = 0;
  errno = e;
}

}  // namespace koyo::platform
