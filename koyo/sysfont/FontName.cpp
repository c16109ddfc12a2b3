#include "koyo/sysfont/FontName.h"

#include <cstring>

namespace koyo {

char* NormalizeFontName(char* out, const char* in) {
  out[0] = '\0';
  if (in == nullptr) return nullptr;
  const size_t length = strnlen(in, kFontNameBufferSize);
  if (length >= kFontNameBufferSize) return nullptr;
  size_t n = 0;
  for (size_t i = 0; i < length && in[i] != ','; ++i) {
    if (in[i] != ' ') out[n++] = in[i];
  }
  out[n] = '\0';
  return out;
}

}  // namespace koyo
