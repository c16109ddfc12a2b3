// Buffered output into memory: everything written collects in a large byte
// buffer (moving into a mapped temporary file above its threshold).
#pragma once
#include <memory>

#include "koyo/object/StreamSave.h"
#include "koyo/object/TempHugeString.h"

namespace koyo {

class StrSave : public StreamSave {
public:
  StrSave() : StreamSave(kKindStr, "Str") {}
  ~StrSave() override;

  // Makes a new, empty destination; writing appends to it.
  bool Open(int32_t bufferSize = -1,
            int64_t mappingThreshold = TempHugeString<char>::kDefaultThreshold);

  // Flushes; the bytes written stay available through Data until the next Open.
  void Close() override;
  // Bytes written so far (pending ones included), NUL-terminated.
  const char* Data();
  int64_t Length();
  // The bytes written, including pending ones.
  int64_t Tell() override;
  // Only the current end is a valid position: writing always appends.
  int Seek(int64_t position) override;
  int64_t Size() override { return Tell(); }
  bool Error() const override { return failed_; }
  std::string ErrorText() const override;
  void ClearError() override { failed_ = false; }

protected:
  int64_t Emit(const char* data, int64_t n) override;

private:
  std::unique_ptr<TempHugeString<char>> text_;
  bool failed_ = false;
};

}  // namespace koyo
