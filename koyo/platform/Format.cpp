#include "koyo/platform/Format.h"

#include <cstdio>
#include <cstring>

namespace koyo::platform {

size_t FormatBoundedV(char* buf, size_t size, const char* fmt, va_list ap) {
  if (!buf || size == 0) return 0;
  int n = std::vsnprintf(buf, size, fmt ? fmt : "", ap);
  if (n < 0) {
    buf[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1;
}

size_t FormatBounded(char* buf, size_t size, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  size_t n = FormatBoundedV(buf, size, fmt, ap);
  va_end(ap);
  return n;
}

std::string FormatLimited(size_t limit, const char* fmt, ...) {
  std::string out(limit, '\0');
  va_list ap;
  va_start(ap, fmt);
  size_t n = FormatBoundedV(out.data(), limit, fmt, ap);
  va_end(ap);
  out.resize(n);
  return out;
}

}  // namespace koyo::platform
