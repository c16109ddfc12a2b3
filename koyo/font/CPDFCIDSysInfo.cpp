#include "koyo/font/CPDFCIDSysInfo.h"

#include <new>

#include "koyo/object/CPDFInt.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFCIDSysInfo::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  return dict && EntryHasType(doc, *dict, "Registry", kString | kText) &&
         EntryHasType(doc, *dict, "Ordering", kString | kText) &&
         EntryHasType(doc, *dict, "Supplement", kAnyNumber);
}

bool CPDFCIDSysInfo::Create(ObjectTable* doc, const char* registry, const char* ordering, int32_t supplement) {
  SetDoc(doc);
  if (!registry || !ordering) return false;
  return Set_Registry(new (std::nothrow) CPDFString(registry)) &&
         Set_Ordering(new (std::nothrow) CPDFString(ordering)) &&
         Set_Supplement(new (std::nothrow) CPDFInt(supplement));
}

bool CPDFCIDSysInfo::Realize(ObjectTable* doc, CPDFObject* value) noexcept { return RealizePlain(*this, doc, value); }

}  // namespace koyo
