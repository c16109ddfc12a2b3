#include "koyo/structure/StructVerify.h"

namespace koyo {

bool VerifyAny(ObjectTable*, CPDFObject*) { return true; }

const CPDFDict* DictOf(CPDFObject* value) {
  if (!value || !value->IsType(CPDFObject::kDict)) return nullptr;
  return dynamic_cast<const CPDFDict*>(value);
}

bool EntryIsName(ObjectTable* doc, const CPDFDict& dict, const char* key, const CPDFName& expected) {
  auto* name = dynamic_cast<CPDFName*>(dict.GetValue(doc, key));
  return name && *name == expected;
}

bool EntryHasType(ObjectTable* doc, const CPDFDict& dict, const char* key, int32_t mask) {
  CPDFObject* value = dict.GetValue(doc, key);
  return value && value->IsType(mask);
}

bool EntryTypeIfPresent(ObjectTable* doc, const CPDFDict& dict, const char* key, int32_t mask) {
  return !dict.HasKey(key) || EntryHasType(doc, dict, key, mask);
}

}  // namespace koyo
