// Root of every PDF value: either an indirect reference (kind 1) or a direct
// object (kind 2). Values are destroyed through this base.
#pragma once
#include <cstdint>

namespace koyo {

class CPDFAtom {
public:
  enum : int32_t { kKindNone = 0, kKindReference = 1, kKindObject = 2 };

  virtual ~CPDFAtom() = 0;

  int32_t GetKind() const { return kind_; }
  const char* GetKindName() const { return kindName_; }
  bool IsReference() const { return kind_ == kKindReference; }
  bool IsObject() const { return kind_ == kKindObject; }

protected:
  CPDFAtom() = default;
  CPDFAtom(int32_t kind, const char* kindName) : kind_(kind), kindName_(kindName) {}
  CPDFAtom(const CPDFAtom&) = default;
  CPDFAtom& operator=(const CPDFAtom&) = default;

private:
  int32_t kind_ = kKindNone;
  const char* kindName_ = "";
};

}  // namespace koyo
