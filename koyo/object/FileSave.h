// Buffered output to a file (appending at its end) or to standard output.
#pragma once
#include <cstdio>
#include <string>

#include "koyo/object/StreamSave.h"

namespace koyo {

class FileSave : public StreamSave {
public:
  FileSave() : StreamSave(kKindFile, "File") {}
  ~FileSave() override;

  // Opens path in mode (for example "wb" or "ab") and moves to its end, so that
  // writing appends. A null or empty path writes standard output, unbuffered.
  // False on failure, with the error number stored.
  bool Open(const char* path, const char* mode = "wb", int32_t bufferSize = -1);

  void Close() override;
  bool Flush() override;
  int64_t Tell() override;
  int Seek(int64_t position) override;
  // The file's size on disk (bytes still pending are not counted); 0 when it
  // cannot be found out.
  int64_t Size() override;
  bool Error() const override { return error_ != 0; }
  std::string ErrorText() const override;
  void ClearError() override { error_ = 0; }

  bool IsOpen() const { return file_ != nullptr; }

protected:
  int64_t Emit(const char* data, int64_t n) override;

private:
  std::FILE* file_ = nullptr;
  bool isStdout_ = false;
  std::string path_;
  int error_ = 0;
};

}  // namespace koyo
