// A number built by code as an real, written with a fraction; it carries both numbers like
// every CPDFNumber.
#pragma once
#include "koyo/object/CPDFNumber.h"

namespace koyo {

class CPDFReal : public CPDFNumber {
public:
  CPDFReal() : CPDFNumber(kReal, "Real") {}
  explicit CPDFReal(int32_t value) : CPDFReal() { SetInt(value); }
  explicit CPDFReal(float value) : CPDFReal() { SetReal(value); }
  ~CPDFReal() override = default;

  CPDFObject* MakeEmpty() const override { return new CPDFReal; }
};

}  // namespace koyo
