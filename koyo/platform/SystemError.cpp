#include "koyo/platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace koyo::platform {

int LastError() { return errno; }

std::string ErrorText(int err) {
  if (err == 0) return std::string();
  char buf[256];
  buf[0] = '\0';
  // GNU strerror_r returns a pointer that may or may not be buf.
  const char* text = strerror_r(err, buf, sizeof buf);
  return text ? std::string(text) : std::string();
}

std::string LastErrorText() { return ErrorText(errno); }

}  // namespace koyo::platform
