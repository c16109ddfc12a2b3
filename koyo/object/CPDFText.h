// A PDF text string: a string meant as human-readable text, which is written
// differently from plain strings.
#pragma once
#include "koyo/object/CPDFString.h"

namespace koyo {

class CPDFText : public CPDFString {
public:
  CPDFText() : CPDFString(kText, "Text") {}
  explicit CPDFText(const char* text, int32_t length = -1) : CPDFString(kText, "Text") { Assign(text, length); }
  ~CPDFText() override = default;

  CPDFObject* MakeEmpty() const override { return new CPDFText; }
};

}  // namespace koyo
