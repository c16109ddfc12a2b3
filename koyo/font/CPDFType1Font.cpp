#include "koyo/font/CPDFType1Font.h"

#include "koyo/font/SimpleFontParts.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFType1Font::Verify(ObjectTable* doc, CPDFObject* value) {
  if (!CPDFFont::Verify(doc, value)) return false;
  const CPDFDict& dict = *DictOf(value);
  if (!EntryIsName(doc, dict, "Subtype", Name_Type1())) return false;
  auto* base = dynamic_cast<CPDFName*>(dict.GetValue(doc, "BaseFont"));
  return (base && IsStandardFontName(base->c_str())) || HasSimpleFontMetrics(doc, dict);
}

bool CPDFType1Font::Create(ObjectTable* doc, const char* baseFont) {
  return CPDFFont::Create(doc, baseFont) && StoreName(*this, "Subtype", Name_Type1());
}

bool CPDFType1Font::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] { RealizeSimpleFontEntries(doc, *this); });
}

}  // namespace koyo
