// State shared by one deep copy of values: the map of indirect objects
// already copied, the chain of indirect objects being copied (to refuse
// reference cycles) and the nesting depth (to bound recursion).
#pragma once
#include <cstdint>
#include <vector>

#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/ObjRefMap.h"
#include "koyo/object/ObjectTable.h"

namespace koyo {

class CopyContext {
public:
  // Deepest nesting of values that one copy descends into.
  static constexpr int32_t kMaxDepth = 256;

  // Uses the source document's copy map when it has one, else a map of its own.
  explicit CopyContext(ObjectTable* source) {
    ObjRefMap* docMap = source ? source->CopyMap() : nullptr;
    map_ = docMap ? docMap : &local_;
  }
  CopyContext(const CopyContext&) = delete;
  CopyContext& operator=(const CopyContext&) = delete;

  ObjRefMap& Map() { return *map_; }

  // True when ref is being copied further up: copying it again would not end.
  bool InProgress(const CPDFObjRef& ref) const {
    for (const CPDFObjRef& r : chain_) {
      if (r == ref) return true;
    }
    return false;
  }
  void Enter(const CPDFObjRef& ref) { chain_.push_back(ref); }
  void Leave() { chain_.pop_back(); }

  // Steps one level down; false when that would pass kMaxDepth.
  bool Descend() {
    if (depth_ >= kMaxDepth) return false;
    ++depth_;
    return true;
  }
  void Ascend() { --depth_; }

private:
  ObjRefMap local_;
  ObjRefMap* map_;
  std::vector<CPDFObjRef> chain_;
  int32_t depth_ = 0;
};

}  // namespace koyo
