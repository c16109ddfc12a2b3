// A number built by code as an integer, written without a fraction; it carries both numbers like
// every CPDFNumber.
#pragma once
#include "koyo/object/CPDFNumber.h"

namespace koyo {

class CPDFInt : public CPDFNumber {
public:
  CPDFInt() : CPDFNumber(kInt, "Integer") {}
  explicit CPDFInt(int32_t value) : CPDFInt() { SetInt(value); }
  explicit CPDFInt(float value) : CPDFInt() { SetReal(value); }
  ~CPDFInt() override = default;

  CPDFObject* MakeEmpty() const override { return new CPDFInt; }
};

}  // namespace koyo
