#include "koyo/font/CPDFType3Font.h"

#include "koyo/font/CPDFEncoding.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFType3Font::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  return dict && EntryIsName(doc, *dict, "Type", Name_Font()) && EntryIsName(doc, *dict, "Subtype", Name_Type3()) &&
         EntryHasType(doc, *dict, "FirstChar", kAnyNumber) && EntryHasType(doc, *dict, "LastChar", kAnyNumber) &&
         EntryHasType(doc, *dict, "Widths", kArray) && EntryHasType(doc, *dict, "CharProcs", kDict) &&
         EntryHasType(doc, *dict, "FontBBox", kArray) && EntryHasType(doc, *dict, "FontMatrix", kArray) &&
         EntryHasType(doc, *dict, "Encoding", kName | kDict);
}

bool CPDFType3Font::Create(ObjectTable* doc) {
  SetDoc(doc);
  return StoreName(*this, "Type", Name_Font()) && StoreName(*this, "Subtype", Name_Type3());
}

bool CPDFType3Font::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    RealizeEntries(doc, *this,
                   {
                       {"FirstChar", kNumber, MakeInt},
                       {"LastChar", kNumber, MakeInt},
                       {"FontBBox", kArray, MakeAs<CPDFRect>},
                       {"Encoding", kDict, MakeAs<CPDFEncoding>},
                   });
  });
}

}  // namespace koyo
