#include "koyo/structure/CPDFPage.h"

#include <algorithm>
#include <vector>

#include "koyo/structure/CPDFDate.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFPage::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  if (!dict) return false;
  auto* type = dynamic_cast<CPDFName*>(dict->GetValue(doc, "Type"));
  if (!type) return false;
  if (*type == Name_Page()) {
    return EntryHasType(doc, *dict, "Parent", kDict) && EntryTypeIfPresent(doc, *dict, "B", kArray);
  }
  return *type == Name_Template();
}

bool CPDFPage::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    RealizeEntries(doc, *this,
                   {
                       {"MediaBox", kArray, MakeAs<CPDFRect>},
                       {"Resources", kDict, MakeAs<CPDFResDict>},
                   });
    if (RealizeOptionsOf(doc) & kRealizeMinimal) return;
    // Thumb, Annots, Trans, AA, PieceInfo and SeparationInfo stay as read.
    RealizeEntries(doc, *this,
                   {
                       {"CropBox", kArray, MakeAs<CPDFRect>},
                       {"Rotate", kNumber, MakeInt},
                       {"Dur", kNumber, MakeReal},
                       {"LastModified", kString, MakeAs<CPDFDate>},
                       {"ArtBox", kArray, MakeAs<CPDFRect>},
                       {"TrimBox", kArray, MakeAs<CPDFRect>},
                       {"BleedBox", kArray, MakeAs<CPDFRect>},
                   });
  });
}

CPDFObject* CPDFPage::GetInherited(const char* key, CPDFObjRef* ref) const {
  if (ref) ref->Reset();
  ObjectTable* doc = GetDoc();
  std::vector<const CPDFDict*> seen{this};
  auto* node = dynamic_cast<CPDFDict*>(GetValue(doc, "Parent"));
  while (node && static_cast<int32_t>(seen.size()) <= kMaxDepth) {
    if (std::find(seen.begin(), seen.end(), node) != seen.end()) break;  // the chain loops
    if (CPDFObject* value = node->GetValue(doc, key, ref)) return value;
    seen.push_back(node);
    node = dynamic_cast<CPDFDict*>(node->GetValue(doc, "Parent"));
  }
  if (ref) ref->Reset();
  return nullptr;
}

CPDFObject* CPDFPage::OwnOrInherited(const char* key, CPDFObjRef* ref) const {
  if (HasKey(key)) return GetValue(GetDoc(), key, ref);
  return GetInherited(key, ref);
}

CPDFRect* CPDFPage::Get_MediaBox(CPDFObjRef* ref) const {
  return AsStruct<CPDFRect>(OwnOrInherited("MediaBox", ref));
}

CPDFResDict* CPDFPage::Get_Resources(CPDFObjRef* ref) const {
  return AsStruct<CPDFResDict>(OwnOrInherited("Resources", ref));
}

bool CPDFPage::Uninherit() {
  ObjectTable* doc = GetDoc();
  for (const char* key : {"MediaBox", "Resources"}) {
    if (HasKey(key)) continue;
    CPDFObjRef ref;
    CPDFObject* inherited = GetInherited(key, &ref);
    if (!inherited) return false;
    CPDFObject* copy = inherited->Duplicate(doc, doc);
    if (!copy) return false;
    // No reference proposed: an indirect copy gets a number of its own.
    if (!SetValue(doc, key, copy, ref.IsValid(), nullptr)) return false;
  }
  return true;
}

}  // namespace koyo
