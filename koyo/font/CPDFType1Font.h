// A simple Type 1 font: one of the fourteen standard fonts, or a font with
// its own widths and descriptor.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/font/CPDFEncoding.h"
#include "koyo/font/CPDFFont.h"
#include "koyo/font/CPDFFontDesc.h"

namespace koyo {

class CPDFType1Font : public CPDFFont {
public:
  CPDFType1Font() = default;
  ~CPDFType1Font() override = default;

  KOYO_STATIC_NAME(Name_Type1, "Type1")

  // The font check, Subtype Type1, and either a standard BaseFont or the
  // width entries (FirstChar, LastChar, Widths, FontDescriptor).
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Font create, then Subtype Type1.
  bool Create(ObjectTable* doc, const char* baseFont);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFNumber, FirstChar)
  KOYO_GET_SET(CPDFNumber, LastChar)
  KOYO_GET_SET(CPDFArray, Widths)
  KOYO_GET_SET(CPDFFontDesc, FontDescriptor)

  // The font's own FontDescriptor.
  CPDFFontDesc* GetFontDesc() const override { return Get_FontDescriptor(); }

  KOYO_RESOURCE(CPDFType1Font, CPDFDict, "F")
};

}  // namespace koyo
