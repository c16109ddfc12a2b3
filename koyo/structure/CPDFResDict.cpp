#include "koyo/structure/CPDFResDict.h"

#include <new>

#include "koyo/structure/CPDFProcSet.h"
#include "koyo/structure/CPDFResource.h"
#include "koyo/structure/ResourceMakers.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {

// A category with named resources: its key, the kinds of value its maker
// takes, and the maker's slot.
struct CategoryRule {
  const char* name;
  int32_t mask;
  ResourceMaker ResourceMakers::*slot;
};

constexpr CategoryRule kColorSpace{"ColorSpace", CPDFObject::kArray, &ResourceMakers::ColorSpace};
constexpr CategoryRule kXObject{"XObject", CPDFObject::kStream, &ResourceMakers::XObject};
constexpr CategoryRule kExtGState{"ExtGState", CPDFObject::kDict, &ResourceMakers::ExtGState};
constexpr CategoryRule kFont{"Font", CPDFObject::kDict, &ResourceMakers::Font};
constexpr CategoryRule kPattern{"Pattern", CPDFObject::kDict | CPDFObject::kStream, &ResourceMakers::Pattern};
constexpr CategoryRule kProperties{"Properties", CPDFObject::kDict, &ResourceMakers::Properties};
constexpr CategoryRule kShading{"Shading", CPDFObject::kDict, &ResourceMakers::Shading};

bool IsNamedCategory(const char* category) {
  int32_t bit = CPDFResource::CategoryOf(category);
  return bit != 0 && bit != CPDFResource::kProcSet;
}

// Every value of the category is resolved (a dead one fails); the maker, when
// the document has one, turns the values it accepts into typed resources.
void RealizeCategory(ObjectTable* doc, CPDFDict& resources, const CategoryRule& rule) {
  CPDFObject* value = resources.GetValue(doc, rule.name);
  if (!value) {
    if (resources.HasKey(rule.name)) FailStruct();
    return;
  }
  auto* category = dynamic_cast<CPDFDict*>(value);
  if (!category) return;
  const ResourceMakers* makers = doc ? doc->Makers() : nullptr;
  ResourceMaker maker = makers ? makers->*rule.slot : nullptr;
  RealizeValues(doc, *category, rule.mask, [maker](ObjectTable* d, CPDFObject* v) -> CPDFObject* {
    if (!maker) return nullptr;
    CPDFResource* made = maker(d, v, -1);
    if (!made) return nullptr;
    CPDFObject* part = made->ValuePart();
    if (!part) {
      delete made;
      FailStruct();
    }
    return part;
  });
}

// Each element of ProcSet is resolved (a dead one fails); read names become
// procedure set names in place.
void RealizeProcSet(ObjectTable* doc, CPDFDict& resources) {
  CPDFObject* value = resources.GetValue(doc, "ProcSet");
  if (!value) {
    if (resources.HasKey("ProcSet")) FailStruct();
    return;
  }
  if (auto* array = dynamic_cast<CPDFArray*>(value)) {
    RealizeElements(doc, *array, CPDFObject::kName, MakeAs<CPDFProcSet>);
  }
}

}  // namespace

bool CPDFResDict::Verify(ObjectTable*, CPDFObject* value) { return DictOf(value) != nullptr; }

bool CPDFResDict::Create(ObjectTable* doc) {
  SetDoc(doc);
  return true;
}

bool CPDFResDict::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    int32_t options = RealizeOptionsOf(doc);
    bool all = (options & (kRealizeMinimal | kRealizeNoResources)) == 0;
    if (all) {
      RealizeCategory(doc, *this, kColorSpace);
      RealizeCategory(doc, *this, kXObject);
      RealizeCategory(doc, *this, kExtGState);
    }
    if ((options & kRealizeNoResources) == 0) RealizeCategory(doc, *this, kFont);
    if (all) {
      RealizeCategory(doc, *this, kPattern);
      RealizeProcSet(doc, *this);
      RealizeCategory(doc, *this, kProperties);
      RealizeCategory(doc, *this, kShading);
    }
  });
}

CPDFResource* CPDFResDict::Lookup(const char* category, const char* name, CPDFObjRef* ref) const {
  if (ref) ref->Reset();
  if (!IsNamedCategory(category)) return nullptr;
  auto* dict = dynamic_cast<CPDFDict*>(GetValue(GetDoc(), category));
  if (!dict) return nullptr;
  return AsStruct<CPDFResource>(dict->GetValue(GetDoc(), name, ref));
}

bool CPDFResDict::Holds(const char* category, const char* name) const {
  auto* dict = dynamic_cast<CPDFDict*>(GetValue(GetDoc(), category));
  return dict && dict->HasKey(name);
}

bool CPDFResDict::AddResource(const char* name, CPDFResource* resource, CPDFObjRef* ref) {
  if (!resource) return false;
  CPDFObject* part = resource->ValuePart();
  if (!part) {
    delete resource;
    return false;
  }
  const char* category = resource->CategoryName();
  if (!name || !IsNamedCategory(category)) {
    delete part;
    return false;
  }
  ObjectTable* doc = GetDoc();
  CPDFObjRef categoryRef;
  CPDFObject* value = GetValue(doc, category, &categoryRef);
  auto* dict = dynamic_cast<CPDFDict*>(value);
  if (!value) {
    dict = new (std::nothrow) CPDFDict;
    if (!dict || !Insert(category, dict)) {
      delete part;
      return false;
    }
  } else if (!dict || (categoryRef.IsValid() && (!doc || !doc->UpdateObj(categoryRef)))) {
    delete part;
    return false;
  }
  CPDFObjRef made;
  if (!dict->SetValue(doc, name, part, true, &made)) return false;
  if (ref) *ref = made;
  return true;
}

bool CPDFResDict::MakeUniqueName(CPDFName& name, const CPDFResource& resource) const {
  for (int32_t n = 1; n <= kMaxUniqueNames; ++n) {
    if (!resource.MakeName(n, name)) return false;
    if (!Holds(resource.CategoryName(), name.c_str())) return true;
  }
  return false;
}

void CPDFResDict::UpdateProcSet() {
  try {
    ObjectTable* doc = GetDoc();
    CPDFObjRef ref;
    CPDFArray* procSet = Get_ProcSet(&ref);
    if (procSet) {
      if (ref.IsValid() && (!doc || !doc->UpdateObj(ref))) return;
      procSet->Clear();
    } else {
      procSet = new CPDFArray;
      if (!Set_ProcSet(procSet)) return;
    }
    auto add = [&](const CPDFName& name) { procSet->Push_Back(nullptr, new CPDFProcSet(name)); };
    add(CPDFProcSet::Name_PDF());
    auto* fonts = Get_Font();
    if (fonts && fonts->Count() > 0) add(CPDFProcSet::Name_Text());
    auto* xobjects = Get_XObject();
    if (xobjects && xobjects->Count() > 0) {
      add(CPDFProcSet::Name_ImageB());
      add(CPDFProcSet::Name_ImageC());
      add(CPDFProcSet::Name_ImageI());
    }
  } catch (...) {
    // Reports nothing; ProcSet stays as it was or partly rebuilt.
  }
}

}  // namespace koyo
