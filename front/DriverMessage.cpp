#include "front/DriverMessage.h"

#include <cstdarg>

#include "koyo/platform/Format.h"

namespace kanafix {

void SetDriverMessage(std::string& message, const char* fmt, ...) {
  char buf[kDriverMessageSize];
  va_list ap;
  va_start(ap, fmt);
  size_t n = koyo::platform::FormatBoundedV(buf, sizeof buf, fmt, ap);
  va_end(ap);
  message.assign(buf, n);
}

}  // namespace kanafix
