#include "koyo/object/NumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "koyo/object/CharClass.h"

namespace koyo {

double TextToDouble(const char* text) {
  if (!text) return 0.0;
  const char* p = text;
  while (IsPdfWhite(*p) || *p == '\v') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Only the decimal form is accepted: digits, point, exponent.
  if (!IsDecimalDigit(*p) && !(*p == '.' && IsDecimalDigit(p[1]))) return 0.0;
  const char* end = p + std::strlen(p);
  double value = 0.0;
  auto res = std::from_chars(p, end, value, std::chars_format::fixed | std::chars_format::scientific);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large in magnitude, or too small: find which from the exponent sign.
    const char* e = p;
    while (e < res.ptr && *e != 'e' && *e != 'E') ++e;
    bool tiny = e < res.ptr && e[1] == '-';
    value = tiny ? 0.0 : HUGE_VAL;
  } else if (res.ec != std::errc()) {
    value = 0.0;
  }
  if (value > FLT_MAX) value = FLT_MAX;
  if (negative) value = -value;
  return value;
}

int32_t TextToLong32(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (IsPdfWhite(*p) || *p == '\v') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  int64_t value = 0;
  bool overflow = false;
  for (; IsDecimalDigit(*p); ++p) {
    if (!overflow) {
      value = value * 10 + (*p - '0');
      if (value > static_cast<int64_t>(INT32_MAX) + 1) overflow = true;
    }
  }
  if (negative) value = -value;
  if (overflow || value > INT32_MAX) return negative ? INT32_MIN : INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

size_t FormatReal(double value, char* buf, size_t size) {
  if (!buf || size == 0) return 0;
  if (!std::isfinite(value)) value = 0.0;
  char text[512];
  auto res = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  size_t n = res.ec == std::errc() ? static_cast<size_t>(res.ptr - text) : 0;
  if (n == 0) {
    text[0] = '0';
    n = 1;
  }
  if (std::memchr(text, '.', n)) {
    while (n > 0 && text[n - 1] == '0') --n;
    if (n > 0 && text[n - 1] == '.') --n;
  }
  if (n > size - 1) n = size - 1;
  std::memcpy(buf, text, n);
  buf[n] = '\0';
  return n;
}

size_t FormatInteger(int64_t value, char* buf, size_t size) {
  if (!buf || size == 0) return 0;
  char text[32];
  auto res = std::to_chars(text, text + sizeof text, value);
  size_t n = static_cast<size_t>(res.ptr - text);
  if (n > size - 1) n = size - 1;
  std::memcpy(buf, text, n);
  buf[n] = '\0';
  return n;
}

}  // namespace koyo
