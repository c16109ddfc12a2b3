// The PDF null object.
#pragma once
#include "koyo/object/CPDFObject.h"

namespace koyo {

class CPDFNull : public CPDFObject {
public:
  CPDFNull() : CPDFObject(kNull, "Null") {}
  ~CPDFNull() override = default;

  CPDFObject* MakeEmpty() const override { return new CPDFNull; }
  bool Adopt(ObjectTable*, CPDFObject* other) override { return dynamic_cast<CPDFNull*>(other) != nullptr; }
};

}  // namespace koyo
