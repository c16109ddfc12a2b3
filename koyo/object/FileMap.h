// A file mapped into memory for reading and writing, usually a temporary file
// that disappears when the map is closed. Large buffers move into one when they
// outgrow the heap.
#pragma once
#include <cstdint>

#include "koyo/platform/MappedFile.h"

namespace koyo {

class FileMap {
public:
  FileMap() = default;
  ~FileMap() { Close(); }
  FileMap(const FileMap&) = delete;
  FileMap& operator=(const FileMap&) = delete;

  // Makes a new temporary file in dir (null or empty: the system's temporary
  // directory) whose name starts with prefix, and maps size bytes of it.
  bool OpenTemp(const char* dir, const char* prefix, int64_t size, int64_t offset, bool zeroFill,
                bool deleteOnClose);
  // Maps size bytes of the named file, viewed from offset. create makes the
  // file anew; otherwise it must exist. zeroFill clears size - offset bytes.
  bool Open(const char* name, int64_t size, int64_t offset, bool zeroFill, bool create);
  // Maps the same file with a new size; the view may move. Failure closes the map.
  bool Resize(int64_t size, int64_t offset, bool zeroFill);
  // Unmaps and closes; a delete-on-close file is removed here.
  void Close() { file_.Close(); }

  char* View() const { return file_.View(); }
  int64_t Size() const { return file_.Size(); }
  const char* Name() const { return file_.Name().c_str(); }
  bool IsOpen() const { return file_.IsOpen(); }

private:
  platform::MappedFile file_;
};

}  // namespace koyo
