// The built-in code-to-glyph-name lists of the five named single-byte
// encodings, as generated constant data.
#pragma once
#include <cstddef>
#include <cstdint>

namespace koyo::resource_data {

struct EncodingPair {
  uint8_t code;
  const char* name;
};

struct NamedEncoding {
  const char* name;
  const EncodingPair* pairs;  // descending code order
  size_t count;
};

// The five named encodings; the list is kNamedEncodingCount long.
extern const NamedEncoding kNamedEncodings[];
extern const size_t kNamedEncodingCount;

}  // namespace koyo::resource_data
