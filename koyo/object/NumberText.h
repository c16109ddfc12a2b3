// Conversions between numbers and their text in PDF syntax, independent of the
// process locale.
#pragma once
#include <cstddef>
#include <cstdint>

namespace koyo {

// Like the C library's text-to-double conversion in the "C" locale: optional
// leading whitespace and sign, digits with an optional point and exponent; stops
// at the first byte that does not fit; 0 when nothing fits. Results beyond the
// float range are clamped to it (the values are kept as floats), and the words
// inf and nan are not numbers here.
double TextToDouble(const char* text);

// Like the C library's text-to-long conversion (base 10) with a 32-bit long:
// optional whitespace and sign, then digits; clamped to the 32-bit range.
int32_t TextToLong32(const char* text);

// The real format: the value with six decimals, trailing zeros and then a
// trailing point removed (2.5, 3, 0.333333). Writes at most size - 1 bytes and a
// NUL; returns the length.
size_t FormatReal(double value, char* buf, size_t size);

// Decimal text of an integer; returns the length.
size_t FormatInteger(int64_t value, char* buf, size_t size);

}  // namespace koyo
