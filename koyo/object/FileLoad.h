// Buffered input from a file (or standard input), restricted to a window of the
// file: positions count from the window start and reading stops at its end.
// A file is read with positioned reads, so a seek costs nothing until the next
// read, and a seek into the bytes already buffered reads nothing again.
#pragma once
#include <cstdint>
#include <string>

#include "koyo/object/StreamLoad.h"

namespace koyo {

class FileLoad : public StreamLoad {
public:
  FileLoad() : StreamLoad(kKindFile, "File") {}
  ~FileLoad() override;

  // Opens path for reading (mode is "rb": the file is only ever read) and
  // positions it at windowStart. windowLength < 0 means the rest of the file; a
  // larger length is cut to the bytes remaining. A null or empty path reads
  // standard input (no window). False on failure, with the error number stored.
  bool Open(const char* path, const char* mode = "rb", int64_t windowStart = 0,
            int64_t windowLength = -1, int32_t bufferSize = 0);

  void Close() override;
  bool Refill() override;
  int64_t Tell() const override;
  int Seek(int64_t position) override;
  int64_t Size() const override;
  bool AtEnd() const override;
  bool Error() const override { return error_ != 0; }
  std::string ErrorText() const override;
  void ClearError() override { error_ = 0; }

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  int64_t WindowStart() const { return windowStart_; }

protected:
  int64_t ReadSource(char* buf, int64_t n) override;

private:
  // Bytes the source may still give: up to the window end, or unlimited for stdin.
  int64_t Remaining() const;
  void StoreError(int fallback);

  int fd_ = -1;
  bool isStdin_ = false;
  bool stdinEnded_ = false;  // standard input gave its last byte
  std::string path_;
  int64_t windowStart_ = 0;
  int64_t windowLength_ = 0;
  // Window-relative position of the source's next byte: the buffer holds the
  // bytes just before it.
  int64_t sourcePos_ = 0;
  int64_t bufferStart_ = 0;  // window-relative position of the buffer's first byte
  bool failed_ = false;    // a read or seek of the source failed
  int error_ = 0;
};

}  // namespace koyo
