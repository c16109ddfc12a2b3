// The built-in Shift-JIS and EUC-JP pair tables: each sorted on its first value,
// searched by bisection, and closed by the pair FFFF FFFF.
#pragma once
#include <cstddef>
#include <cstdint>

namespace koyo::resource_data {

struct CodePair {
  uint16_t from;
  uint16_t to;
};

extern const CodePair kUnicodeToSJIS[];
extern const size_t kUnicodeToSJISSize;
extern const CodePair kSJISToUnicode[];
extern const size_t kSJISToUnicodeSize;
extern const CodePair kUnicodeToEUC[];
extern const size_t kUnicodeToEUCSize;
extern const CodePair kEUCToUnicode[];
extern const size_t kEUCToUnicodeSize;

}  // namespace koyo::resource_data
