#include "koyo/platform/Files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace koyo::platform {

namespace {

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

// Copies the rest of in to out: the kernel copy first, plain reads and writes
// when the file systems do not support it.
bool CopyContents(int in, int out, off_t size) {
  off_t left = size;
  bool kernel = true;
  while (left > 0 && kernel) {
    ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(left), 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) {
        kernel = false;
        break;
      }
      return false;
    }
    if (n == 0) break;  // the source shrank under us
    left -= n;
  }
  if (kernel) return true;
  char buf[1 << 16];
  for (;;) {
    ssize_t r = ::read(in, buf, sizeof buf);
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) return true;
    if (!WriteAll(out, buf, static_cast<size_t>(r))) return false;
  }
}

}  // namespace

bool CopyFile(const char* source, const char* target) {
  if (!source || !target || !*source || !*target) {
    errno = ENOENT;
    return false;
  }
  // O_NONBLOCK keeps the opens from waiting on a FIFO (for a writer, or for
  // a reader); regular files ignore it.
  int in = ::open(source, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return false;
  struct stat st;
  if (::fstat(in, &st) != 0) {
    int e = errno;
    ::close(in);
    errno = e;
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(in);
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  struct stat tst;
  bool existed = ::stat(target, &tst) == 0;
  if (existed && tst.st_dev == st.st_dev && tst.st_ino == st.st_ino) {
    // Copying a file onto itself would truncate it first and lose it.
    ::close(in);
    errno = EINVAL;
    return false;
  }
  int out = ::open(target, O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, st.st_mode & 0666);
  if (out < 0) {
    int e = errno;
    ::close(in);
    errno = e;
    return false;
  }
  // Only a regular file is replaced: a device or a FIFO under the target's
  // name is neither written nor, later, removed as if it were a copy.
  struct stat ost;
  int refused = 0;
  if (::fstat(out, &ost) != 0) {
    refused = errno;
  } else if (!S_ISREG(ost.st_mode)) {
    refused = EINVAL;
  } else if (::ftruncate(out, 0) != 0) {
    refused = errno;
  }
  if (refused) {
    ::close(out);
    ::close(in);
    if (!existed) ::unlink(target);
    errno = refused;
    return false;
  }
  bool ok = CopyContents(in, out, st.st_size);
  int e = errno;
  if (::close(out) != 0 && ok) {
    ok = false;
    e = errno;
  }
  ::close(in);
  if (!ok) {
    // The target's old contents are gone already; a partial copy is removed
    // rather than left looking like a file.
    ::unlink(target);
    errno = e;
  }
  return ok;
}

std::string SystemTempDirectory() {
  const char* dir = std::getenv("TMPDIR");
  if (dir && *dir) return dir;
  return "/tmp";
}

bool MakeTempFile(const char* dir, const char* prefix, std::string& out) {
  std::string base = (dir && *dir) ? std::string(dir) : SystemTempDirectory();
  if (base.empty() || base.back() != kPathSeparator) base += kPathSeparator;
  std::string pattern = base + (prefix ? prefix : "") + "XXXXXX";
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  out = pattern;
  return true;
}

bool FileExists(const char* path) {
  struct stat st;
  return path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const char* path) {
  struct stat st;
  return path && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const char* path) { return path && ::unlink(path) == 0; }

bool RenameFile(const char* from, const char* to) { return from && to && ::rename(from, to) == 0; }

int64_t FileSize(const char* path) {
  struct stat st;
  if (!path || ::stat(path, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool TruncateFile(const char* path, int64_t size) {
  if (!path || size < 0) {
    errno = EINVAL;
    return false;
  }
  int rc;
  do {
    rc = ::truncate(path, static_cast<off_t>(size));
  } while (rc != 0 && errno == EINTR);
  return rc == 0;
}

bool SameFile(const char* a, const char* b) {
  struct stat sa;
  struct stat sb;
  if (!a || !b || ::stat(a, &sa) != 0 || ::stat(b, &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool CopyPermissions(const char* source, const char* target) {
  struct stat st;
  if (!source || !target) {
    errno = EINVAL;
    return false;
  }
  if (::stat(source, &st) != 0) return false;
  return ::chmod(target, st.st_mode & 07777) == 0;
}

size_t MaxPathLength() { return PATH_MAX; }

bool RealPath(const char* path, std::string& out) {
  if (!path || !*path) {
    errno = ENOENT;
    return false;
  }
  char* resolved = ::realpath(path, nullptr);
  if (!resolved) return false;
  out = resolved;
  std::free(resolved);
  return true;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind(kPathSeparator);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return std::string(1, kPathSeparator);
  return path.substr(0, slash);
}

}  // namespace koyo::platform
