// An indirect reference "n g R": names an object of a document by object and
// generation number. It is resolved only through a document's object table.
#pragma once
#include <cstdint>

#include "koyo/object/CPDFAtom.h"

namespace koyo {

class CPDFObjRef : public CPDFAtom {
public:
  // Refers to nothing (both numbers -1).
  CPDFObjRef() : CPDFAtom(kKindReference, "Indirect Reference") {}
  CPDFObjRef(int32_t objNum, int32_t genNum)
      : CPDFAtom(kKindReference, "Indirect Reference"), objNum_(objNum), genNum_(genNum) {}
  CPDFObjRef(const CPDFObjRef& other) = default;
  CPDFObjRef& operator=(const CPDFObjRef& other) = default;
  ~CPDFObjRef() override;

  // Valid when neither number is -1.
  bool IsValid() const { return objNum_ != -1 && genNum_ != -1; }
  void Reset() { objNum_ = genNum_ = -1; }
  void Set(int32_t objNum, int32_t genNum) {
    objNum_ = objNum;
    genNum_ = genNum;
  }
  int32_t GetObjNum() const { return objNum_; }
  int32_t GetGenNum() const { return genNum_; }

  bool operator==(const CPDFObjRef& other) const {
    return objNum_ == other.objNum_ && genNum_ == other.genNum_;
  }
  bool operator!=(const CPDFObjRef& other) const { return !(*this == other); }
  // By object number, then by generation.
  bool operator<(const CPDFObjRef& other) const {
    return objNum_ < other.objNum_ || (objNum_ == other.objNum_ && genNum_ < other.genNum_);
  }

private:
  int32_t objNum_ = -1;
  int32_t genNum_ = -1;
};

}  // namespace koyo
