// The built-in CMaps as generated constant data: their header values and their
// codespace, notdef and cid ranges in file order.
#pragma once
#include <cstddef>
#include <cstdint>

namespace koyo::resource_data {

struct CMapRangeData {
  uint16_t low;
  uint16_t high;
  uint16_t cid;     // first CID of the range
  uint8_t length;   // code length in bytes, 1 or 2
};

struct BuiltinCMap {
  const char* name;
  const char* ordering;  // the registry is always "Adobe"
  int16_t supplement;
  int16_t writingMode;
  const char* usedCMap;  // null when none
  const CMapRangeData* codespace;
  size_t codespaceCount;
  const CMapRangeData* notdef;
  size_t notdefCount;
  const CMapRangeData* cid;
  size_t cidCount;
};

extern const BuiltinCMap kBuiltinCMaps[];
extern const size_t kBuiltinCMapCount;

}  // namespace koyo::resource_data
