#include "koyo/structure/StructRealize.h"

#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFReal.h"
#include "koyo/object/CPDFText.h"

namespace koyo {

void FailStruct() { throw StructFailure{}; }

namespace {
template <class N>
CPDFObject* MakeNumber(CPDFObject* value) {
  auto* number = dynamic_cast<CPDFNumber*>(value);
  if (!number) return nullptr;
  auto* made = new N;
  made->SetBoth(number->GetInt(), number->GetReal());
  return made;
}
}  // namespace

CPDFObject* MakeInt(ObjectTable*, CPDFObject* value) { return MakeNumber<CPDFInt>(value); }

CPDFObject* MakeReal(ObjectTable*, CPDFObject* value) { return MakeNumber<CPDFReal>(value); }

CPDFObject* MakeText(ObjectTable*, CPDFObject* value) {
  auto* string = dynamic_cast<CPDFString*>(value);
  if (!string) return nullptr;
  auto* made = new CPDFText;
  if (!made->Assign(string->c_str(), string->Length())) {
    delete made;
    FailStruct();
  }
  made->SetLiteral(string->IsLiteral());
  return made;
}

void RealizeEntries(ObjectTable* doc, CPDFDict& dict, std::initializer_list<EntryRule> rules) {
  for (const EntryRule& rule : rules) RealizeEntry(doc, dict, rule.key, rule.mask, rule.make);
}

bool RealizeKey(ObjectTable* doc, CPDFDict& dict, const char* key, int32_t mask, MakeFn make) noexcept {
  try {
    RealizeEntry(doc, dict, key, mask, make);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace koyo
