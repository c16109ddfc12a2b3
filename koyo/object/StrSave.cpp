#include "koyo/object/StrSave.h"

#include <cerrno>
#include <new>

#include "koyo/platform/SystemError.h"

namespace koyo {

StrSave::~StrSave() { Close(); }

bool StrSave::Open(int32_t bufferSize, int64_t mappingThreshold) {
  Close();
  failed_ = false;
  text_.reset(new (std::nothrow) TempHugeString<char>(mappingThreshold));
  if (!text_ || !AllocateBuffer(bufferSize)) {
    text_.reset();
    failed_ = true;
    return false;
  }
  return true;
}

void StrSave::Close() { StreamSave::Close(); }

int64_t StrSave::Emit(const char* data, int64_t n) {
  if (!text_ || n <= 0) return 0;
  if (!text_->Append(data, n)) {
    failed_ = true;
    return 0;
  }
  return n;
}

const char* StrSave::Data() {
  Flush();
  return text_ ? text_->c_str() : "";
}

int64_t StrSave::Length() {
  Flush();
  return text_ ? text_->Length() : 0;
}

int64_t StrSave::Tell() { return text_ ? text_->Length() + pending_ : -1; }

int StrSave::Seek(int64_t position) {
  if (!text_) return -1;
  Flush();
  return position == text_->Length() ? 0 : -1;
}

std::string StrSave::ErrorText() const { return failed_ ? platform::ErrorText(ENOMEM) : std::string(); }

}  // namespace koyo
