// Test helpers for the typed wrappers: a document whose RegistObj replaces the
// object of a proposed number (as the real one does), with realize options
// and resource makers, and builders for values as if read from a file.
#pragma once
#include <initializer_list>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNull.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFString.h"
#include "koyo/structure/CPDFResource.h"
#include "koyo/structure/ResourceMakers.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"
#include "tests/object/FakeObjectTable.h"

namespace koyo::test {

class FakeDoc : public FakeObjectTable {
public:
  bool RegistObj(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) override {
    if (!refuseRegist && obj && proposed && proposed->IsValid()) {
      Key key(proposed->GetObjNum(), proposed->GetGenNum());
      objects[key].reset(obj);  // the object of that number is replaced
      if (key.first >= next) next = key.first + 1;
      if (out) *out = *proposed;
      return true;
    }
    return FakeObjectTable::RegistObj(obj, nullptr, out);
  }
  int RealizeOptions() const override { return options; }
  const ResourceMakers* Makers() const override { return makers; }

  // A number for an object that is put in later with Put.
  CPDFObjRef Reserve() { return Add(new CPDFNull); }
  void Put(const CPDFObjRef& ref, CPDFObject* obj) {
    objects[Key(ref.GetObjNum(), ref.GetGenNum())].reset(obj);
  }
  template <class T>
  T* As(const CPDFObjRef& ref) const {
    return dynamic_cast<T*>(Get(ref));
  }
  bool WasDeleted(const CPDFObjRef& ref) const { return Contains(deleted, ref); }
  bool WasUpdated(const CPDFObjRef& ref) const { return Contains(updated, ref); }

  int options = 0;
  const ResourceMakers* makers = nullptr;

private:
  static bool Contains(const std::vector<CPDFObjRef>& list, const CPDFObjRef& ref) {
    for (const auto& r : list) {
      if (r == ref) return true;
    }
    return false;
  }
};

// Values as read from a file (defined flag set).
template <class T>
T* Read(T* value) {
  value->SetDefined(true);
  return value;
}
struct Entry {
  const char* key;
  CPDFAtom* value;
};
inline CPDFDict* Dict(std::initializer_list<Entry> entries) {
  auto* dict = Read(new CPDFDict);
  for (const Entry& e : entries) dict->Insert(e.key, e.value);
  return dict;
}
inline CPDFArray* Array(std::initializer_list<CPDFAtom*> elements) {
  auto* array = Read(new CPDFArray);
  for (CPDFAtom* e : elements) array->Push_Back(e);
  return array;
}
inline CPDFName* Name(const char* text) { return Read(new CPDFName(text)); }
inline CPDFNumber* Num(int32_t value) { return Read(new CPDFNumber(value)); }
inline CPDFString* Str(const char* text) { return Read(new CPDFString(text)); }
inline CPDFObjRef* Ref(const CPDFObjRef& ref) { return new CPDFObjRef(ref); }
inline CPDFArray* Box(int32_t x2, int32_t y2) { return Array({Num(0), Num(0), Num(x2), Num(y2)}); }

inline const char* NameText(CPDFObject* value) {
  auto* name = dynamic_cast<CPDFName*>(value);
  return name ? name->c_str() : "";
}

// A font class for the tests: takes dictionaries of Subtype Type1.
class FakeFont : public CPDFResource, public CPDFDict {
public:
  FakeFont() : CPDFResource(kFont) {}
  static bool Verify(ObjectTable* doc, CPDFObject* value) {
    const CPDFDict* dict = DictOf(value);
    static const CPDFName type1("Type1");
    return dict && EntryIsName(doc, *dict, "Subtype", type1);
  }
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept { return RealizePlain(*this, doc, value); }
  KOYO_RESOURCE(FakeFont, CPDFDict, "F")
};

// A resource of any category, for insertion tests.
template <int32_t Category>
class FakeResource : public CPDFResource, public CPDFDict {
public:
  FakeResource() : CPDFResource(Category) {}
  KOYO_RESOURCE(FakeResource, CPDFDict, "P")
};

}  // namespace koyo::test
