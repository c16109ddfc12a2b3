#include "koyo/structure/CPDFInfoDict.h"

#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFInfoDict::Verify(ObjectTable*, CPDFObject* value) { return DictOf(value) != nullptr; }

bool CPDFInfoDict::Create(ObjectTable* doc) {
  SetDoc(doc);
  return true;
}

bool CPDFInfoDict::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    RealizeEntries(doc, *this,
                   {
                       {"Author", kString, MakeText},
                       {"CreationDate", kString, MakeAs<CPDFDate>},
                       {"ModDate", kString, MakeAs<CPDFDate>},
                       {"Creator", kString, MakeText},
                       {"Producer", kString, MakeText},
                       {"Title", kString, MakeText},
                       {"Subject", kString, MakeText},
                       {"Keywords", kString, MakeText},
                   });
  });
}

}  // namespace koyo
