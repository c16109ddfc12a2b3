#include "koyo/font/CPDFFontDesc.h"

#include <memory>
#include <new>

#include "koyo/object/CPDFInt.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {

constexpr const char* kNumberKeys[] = {"Ascent",  "CapHeight", "Descent",      "Flags", "ItalicAngle", "StemV",
                                       "AvgWidth", "Leading",  "MaxWidth", "MissingWidth", "StemH", "XHeight"};

// Realizes key as make does, except that an indirect value is not realized
// in place: a copy of the object it refers to is made, realized and stored
// directly under key (the referenced object stays as it is).
void RealizeAsDirect(ObjectTable* doc, CPDFDict& dict, const char* key, int32_t mask, MakeFn make) {
  CPDFObjRef ref;
  CPDFObject* value = dict.GetValue(doc, key, &ref);
  if (!value) {
    if (dict.HasKey(key)) FailStruct();
    return;
  }
  if (!ref.IsValid()) {
    RealizeEntry(doc, dict, key, mask, make);
    return;
  }
  if (!value->IsType(mask)) return;
  std::unique_ptr<CPDFObject> copy(value->Duplicate(nullptr, doc));
  if (!copy) FailStruct();
  copy->SetDefined(true);
  CPDFObject* made = make(doc, copy.get());
  // A maker that declines leaves the plain copy to be stored.
  CPDFObject* stored = made ? made : copy.release();
  if (!dict.SetValue(doc, key, stored)) FailStruct();
}

}  // namespace

bool CPDFFontDesc::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  if (!dict || !EntryIsName(doc, *dict, "Type", Name_FontDescriptor())) return false;
  for (const char* key : {"Ascent", "CapHeight", "Descent", "Flags", "ItalicAngle", "StemV"}) {
    if (!EntryHasType(doc, *dict, key, kAnyNumber)) return false;
  }
  return EntryHasType(doc, *dict, "FontBBox", kArray) && EntryHasType(doc, *dict, "FontName", kName);
}

bool CPDFFontDesc::Create(ObjectTable* doc, int32_t ascent, int32_t capHeight, int32_t descent, int32_t flags,
                          CPDFRect* fontBBox, const char* fontName, int32_t italicAngle, int32_t stemV) {
  std::unique_ptr<CPDFRect> box(fontBBox);
  SetDoc(doc);
  if (!box || !fontName) return false;
  return StoreName(*this, "Type", Name_FontDescriptor()) && Set_Ascent(new (std::nothrow) CPDFInt(ascent)) &&
         Set_CapHeight(new (std::nothrow) CPDFInt(capHeight)) && Set_Descent(new (std::nothrow) CPDFInt(descent)) &&
         Set_Flags(new (std::nothrow) CPDFInt(flags)) && Set_FontBBox(box.release()) &&
         Set_FontName(new (std::nothrow) CPDFName(fontName)) &&
         Set_ItalicAngle(new (std::nothrow) CPDFInt(italicAngle)) && Set_StemV(new (std::nothrow) CPDFInt(stemV));
}

bool CPDFFontDesc::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    for (const char* key : kNumberKeys) RealizeAsDirect(doc, *this, key, kNumber, MakeInt);
    RealizeAsDirect(doc, *this, "FontBBox", kArray, MakeAs<CPDFRect>);
    RealizeAsDirect(doc, *this, "FontName", kName, [](ObjectTable*, CPDFObject*) -> CPDFObject* { return nullptr; });
    RealizeEntries(doc, *this,
                   {
                       {"FontFile", kStream, MakeAs<CPDFFontFile>},
                       {"FontFile2", kStream, MakeAs<CPDFFontFile>},
                       {"FontFile3", kStream, MakeAs<CPDFFontFile>},
                   });
  });
}

}  // namespace koyo
