#include "koyo/font/CPDFMMType1Font.h"

#include "koyo/font/SimpleFontParts.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFMMType1Font::Verify(ObjectTable* doc, CPDFObject* value) {
  if (!CPDFFont::Verify(doc, value)) return false;
  const CPDFDict& dict = *DictOf(value);
  return EntryIsName(doc, dict, "Subtype", Name_MMType1()) && HasSimpleFontMetrics(doc, dict);
}

bool CPDFMMType1Font::Create(ObjectTable* doc, const char* baseFont) {
  return CPDFFont::Create(doc, baseFont) && StoreName(*this, "Subtype", Name_MMType1());
}

bool CPDFMMType1Font::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] { RealizeSimpleFontEntries(doc, *this); });
}

}  // namespace koyo
