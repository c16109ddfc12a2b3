#include "koyo/font/CPDFCMap.h"

#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFCMap::Verify(ObjectTable* doc, CPDFObject* value) {
  auto* stream = dynamic_cast<CPDFStream*>(value);
  if (!stream || !stream->IsType(kStream)) return false;
  return EntryIsName(doc, *stream, "Type", Name_CMap()) && EntryHasType(doc, *stream, "CMapName", kName) &&
         EntryHasType(doc, *stream, "CIDSystemInfo", kDict | kArray);
}

bool CPDFCMap::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] { CPDFStream::SetDoc(doc); });
}

}  // namespace koyo
