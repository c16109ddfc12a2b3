#include "koyo/font/CPDFFontFile.h"

#include "koyo/structure/StructRealize.h"

namespace koyo {

bool CPDFFontFile::Verify(ObjectTable*, CPDFObject* value) {
  return value && value->IsType(kStream) && dynamic_cast<CPDFStream*>(value) != nullptr;
}

bool CPDFFontFile::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] { CPDFStream::SetDoc(doc); });
}

}  // namespace koyo
