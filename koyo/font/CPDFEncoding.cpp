#include "koyo/font/CPDFEncoding.h"

#include <string>

#include "koyo/font/FontCall.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

bool CPDFEncoding::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  return dict && (!dict->HasKey("Type") || EntryIsName(doc, *dict, "Type", Name_Encoding()));
}

bool CPDFEncoding::Create(ObjectTable* doc) {
  SetDoc(doc);
  return StoreName(*this, "Type", Name_Encoding());
}

bool CPDFEncoding::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  differences_.reset();
  return RealizePlain(*this, doc, value);
}

const char* CPDFEncoding::EffectiveBaseEncoding() const {
  CPDFName* base = Get_BaseEncoding();
  return base ? base->c_str() : Name_StandardEncoding().c_str();
}

bool CPDFEncoding::UpdateDifferences() {
  ObjectTable* doc = GetDoc();
  return FontBoundary<bool>(doc, "CPDFEncoding", "UpdateDifferences", false, [&] {
    differences_.reset();
    auto table = std::make_unique<EncodingTable>();
    CPDFArray* differences = Get_Differences();
    if (differences) {
      int32_t code = 0;
      bool valid = true;
      for (int32_t i = 0; i < differences->Count(); ++i) {
        CPDFObject* element = differences->GetObj(doc, i);
        int32_t number = 0;
        if (NumberValue(element, number)) {
          valid = number >= 0 && number <= 255;
          code = number;
        } else if (auto* name = dynamic_cast<CPDFName*>(element); name && valid) {
          table->Set(static_cast<uint8_t>(code), std::string(name->c_str(), name->Length()));
          code = (code + 1) & 0xFF;
        }
      }
    }
    differences_ = std::move(table);
    return true;
  });
}

const EncodingTable* CPDFEncoding::GetDifferencesTable() {
  if (!differences_ && !UpdateDifferences()) return nullptr;
  return differences_.get();
}

}  // namespace koyo
