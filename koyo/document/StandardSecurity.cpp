#include "koyo/document/StandardSecurity.h"

#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"

namespace koyo {

namespace {

const CPDFName* NameEntry(ObjectTable* doc, const CPDFDict& dict, const char* key) {
  CPDFObject* value = dict.GetValue(doc, key);
  return value && value->IsType(CPDFObject::kName) ? static_cast<const CPDFName*>(value) : nullptr;
}

const CPDFNumber* NumberEntry(ObjectTable* doc, const CPDFDict& dict, const char* key) {
  CPDFObject* value = dict.GetValue(doc, key);
  return value && value->IsType(CPDFObject::kAnyNumber) ? static_cast<const CPDFNumber*>(value) : nullptr;
}

bool IsStringEntry(ObjectTable* doc, const CPDFDict& dict, const char* key) {
  CPDFObject* value = dict.GetValue(doc, key);
  return value && value->IsType(CPDFObject::kString | CPDFObject::kText);
}

}  // namespace

bool StandardSecurity::Verify(ObjectTable* doc, const CPDFDict& dict) {
  const CPDFName* filter = NameEntry(doc, dict, "Filter");
  if (!filter) return false;
  if (*filter == "Standard") {
    if (!NumberEntry(doc, dict, "R") || !IsStringEntry(doc, dict, "O") || !IsStringEntry(doc, dict, "U")) {
      return false;
    }
  }
  return NumberEntry(doc, dict, "P") != nullptr;
}

bool StandardSecurity::IsStandard(ObjectTable* doc, const CPDFDict& dict) {
  const CPDFName* filter = NameEntry(doc, dict, "Filter");
  const CPDFNumber* r = NumberEntry(doc, dict, "R");
  const CPDFNumber* v = NumberEntry(doc, dict, "V");
  return filter && *filter == "Standard" && r && r->GetInt() == 2 && v && v->GetInt() == 1;
}

}  // namespace koyo
