// A Type 3 font: glyphs drawn by content streams (CharProcs) in a glyph space
// set by FontMatrix. Recognised and readable; the library creates and
// measures none.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/font/CPDFFont.h"
#include "koyo/structure/CPDFRect.h"

namespace koyo {

class CPDFType3Font : public CPDFFont {
public:
  CPDFType3Font() = default;
  ~CPDFType3Font() override = default;

  KOYO_STATIC_NAME(Name_Type3, "Type3")

  // Type Font, Subtype Type3, FirstChar and LastChar numbers, Widths an
  // array, CharProcs a dictionary, FontBBox and FontMatrix arrays, Encoding a
  // name or a dictionary. BaseFont is not needed.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Records doc; Type Font, Subtype Type3.
  bool Create(ObjectTable* doc);
  // FirstChar and LastChar become integers, FontBBox a rectangle, an Encoding
  // dictionary a CPDFEncoding. Resources stay as read.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFNumber, FirstChar)
  KOYO_GET_SET(CPDFNumber, LastChar)
  KOYO_GET(CPDFArray, Widths)
  KOYO_GET_SET(CPDFRect, FontBBox)
  KOYO_GET_SET(CPDFArray, FontMatrix)
  KOYO_GET_SET(CPDFDict, Resources)
  KOYO_GET(CPDFDict, CharProcs)

  KOYO_RESOURCE(CPDFType3Font, CPDFDict, "T")
};

}  // namespace koyo
