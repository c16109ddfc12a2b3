#include "koyo/font/SimpleFontParts.h"

#include "koyo/font/CPDFEncoding.h"
#include "koyo/font/CPDFFontDesc.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool HasSimpleFontMetrics(ObjectTable* doc, const CPDFDict& dict) {
  return EntryHasType(doc, dict, "FirstChar", CPDFObject::kAnyNumber) &&
         EntryHasType(doc, dict, "LastChar", CPDFObject::kAnyNumber) &&
         EntryHasType(doc, dict, "Widths", CPDFObject::kArray) &&
         EntryHasType(doc, dict, "FontDescriptor", CPDFObject::kDict);
}

void RealizeSimpleFontEntries(ObjectTable* doc, CPDFDict& dict) {
  RealizeEntries(doc, dict,
                 {
                     {"FirstChar", CPDFObject::kNumber, MakeInt},
                     {"LastChar", CPDFObject::kNumber, MakeInt},
                     {"Encoding", CPDFObject::kDict, MakeAs<CPDFEncoding>},
                     {"FontDescriptor", CPDFObject::kDict, MakeAs<CPDFFontDesc>},
                 });
}

}  // namespace koyo
