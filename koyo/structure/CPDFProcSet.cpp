#include "koyo/structure/CPDFProcSet.h"

#include "koyo/structure/StructRealize.h"

namespace koyo {

bool CPDFProcSet::Verify(ObjectTable*, CPDFObject* value) { return value && value->IsType(kName); }

bool CPDFProcSet::Realize(ObjectTable* doc, CPDFObject* value) noexcept { return RealizePlain(*this, doc, value); }

}  // namespace koyo
