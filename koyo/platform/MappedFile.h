// A file mapped into memory for reading and writing: the backing store of
// large in-memory buffers. With delete-on-close the file vanishes on Close.
#pragma once
#include <cstdint>
#include <string>

namespace koyo::platform {

class MappedFile {
public:
  MappedFile() = default;
  ~MappedFile() { Close(); }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Makes a unique file "<dir>/<prefix>XXXXXX" (dir empty: the system's temporary
  // directory) and maps size bytes of it.
  bool OpenTemp(const char* dir, const char* prefix, int64_t size, int64_t offset, bool zeroFill,
                bool deleteOnClose);
  // Maps size bytes of the named file, viewed from offset; create makes it anew,
  // otherwise it must exist. The file is extended to size when shorter.
  bool Open(const char* name, int64_t size, int64_t offset, bool zeroFill, bool create);
  // Changes the mapped size; the view may move.
  bool Resize(int64_t size, int64_t offset, bool zeroFill);
  // Unmaps, closes, and removes the file when it was opened delete-on-close.
  void Close();

  char* View() const { return view_; }
  int64_t Size() const { return size_; }
  const std::string& Name() const { return name_; }
  bool IsOpen() const { return fd_ >= 0; }

private:
  bool MapView(int64_t size, int64_t offset, bool zeroFill);

  bool deleteOnClose_ = false;
  std::string name_;
  int64_t size_ = 0;
  int64_t offset_ = 0;
  int fd_ = -1;
  char* view_ = nullptr;
  size_t viewLength_ = 0;
};

}  // namespace koyo::platform
