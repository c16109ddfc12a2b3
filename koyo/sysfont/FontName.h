// Normalised font names: the form in which the system font catalogue stores and
// looks up names (style suffix after a comma cut off, spaces removed).
#pragma once
#include <cstddef>

namespace koyo {

// Size of the work buffer of a normalised name, terminator included. Names of this
// many bytes or more are refused.
inline constexpr size_t kFontNameBufferSize = 256;

// Writes the normalised form of `in` into `out` (kFontNameBufferSize bytes) and
// returns `out`: the bytes before the first comma, without space bytes. Works on
// bytes, so Shift-JIS names pass unharmed (neither byte can be a trailing byte).
// Returns null, with `out` set to the empty string, when `in` is null or does not
// fit the buffer.
char* NormalizeFontName(char* out, const char* in);

}  // namespace koyo
