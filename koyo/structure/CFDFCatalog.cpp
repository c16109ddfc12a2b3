#include "koyo/structure/CFDFCatalog.h"

#include <new>

#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CFDFCatalog::Verify(ObjectTable*, CPDFObject* value) { return DictOf(value) != nullptr; }

bool CFDFCatalog::Create(ObjectTable* doc) {
  SetDoc(doc);
  auto* fdf = new (std::nothrow) CPDFDict;
  return fdf && Set_FDF(fdf);
}

bool CFDFCatalog::Realize(ObjectTable* doc, CPDFObject* value) noexcept { return RealizePlain(*this, doc, value); }

template <class T>
T* CFDFCatalog::GetInFDF(const char* key, CPDFObjRef* ref) const {
  if (ref) ref->Reset();
  CPDFDict* fdf = Get_FDF();
  return fdf ? GetEntry<T>(*fdf, GetDoc(), key, ref) : nullptr;
}

CPDFArray* CFDFCatalog::Get_Fields(CPDFObjRef* ref) const { return GetInFDF<CPDFArray>("Fields", ref); }
CPDFObject* CFDFCatalog::Get_F(CPDFObjRef* ref) const { return GetInFDF<CPDFObject>("F", ref); }
CPDFArray* CFDFCatalog::Get_Pages(CPDFObjRef* ref) const { return GetInFDF<CPDFArray>("Pages", ref); }
CPDFArray* CFDFCatalog::Get_Annots(CPDFObjRef* ref) const { return GetInFDF<CPDFArray>("Annots", ref); }

bool CFDFCatalog::Set_F(CPDFObject* value, bool indirect, CPDFObjRef* ref) {
  CPDFDict* fdf = Get_FDF();
  if (!fdf) {
    delete value;
    return false;
  }
  return SetEntry(*fdf, GetDoc(), "F", value, indirect, ref);
}

}  // namespace koyo
