// A multiple master Type 1 font: recognised and readable; the library creates
// and measures none.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/font/CPDFFont.h"
#include "koyo/font/CPDFFontDesc.h"

namespace koyo {

class CPDFMMType1Font : public CPDFFont {
public:
  CPDFMMType1Font() = default;
  ~CPDFMMType1Font() override = default;

  KOYO_STATIC_NAME(Name_MMType1, "MMType1")

  // The font check, Subtype MMType1 and the width entries.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Font create, then Subtype MMType1.
  bool Create(ObjectTable* doc, const char* baseFont);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFNumber, FirstChar)
  KOYO_GET_SET(CPDFNumber, LastChar)
  KOYO_GET_SET(CPDFArray, Widths)
  KOYO_GET_SET(CPDFFontDesc, FontDescriptor)

  KOYO_RESOURCE(CPDFMMType1Font, CPDFDict, "F")
};

}  // namespace koyo
