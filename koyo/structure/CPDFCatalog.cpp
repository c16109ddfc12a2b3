#include "koyo/structure/CPDFCatalog.h"

#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFCatalog::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  return dict && EntryIsName(doc, *dict, "Type", Name_Catalog()) && EntryHasType(doc, *dict, "Pages", kDict);
}

bool CPDFCatalog::SetType() { return StoreName(*this, "Type", Name_Catalog()); }

bool CPDFCatalog::Create(ObjectTable* doc) {
  SetDoc(doc);
  if (!SetType()) return false;
  auto* root = new CPDFPages;
  if (!root->Create(doc, CPDFObjRef())) {
    delete root;
    return false;
  }
  return Set_Pages(root, true);
}

bool CPDFCatalog::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    if (!GetValue(doc, "Pages")) FailStruct();
    RealizeEntry(doc, *this, "Pages", kDict, MakeAs<CPDFPages>);
  });
}

}  // namespace koyo
