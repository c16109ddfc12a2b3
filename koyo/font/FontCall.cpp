#include "koyo/font/FontCall.h"

#include "koyo/object/CPDFNumber.h"

namespace koyo {

bool NumberValue(const CPDFObject* value, int32_t& out) {
  auto* number = dynamic_cast<const CPDFNumber*>(value);
  if (!number) return false;
  out = number->GetInt();
  return true;
}

int32_t NumberOr(ObjectTable* doc, const CPDFDict& dict, const char* key, int32_t fallback) {
  int32_t value = fallback;
  return NumberValue(dict.GetValue(doc, key), value) ? value : fallback;
}

void EmptyForRewrite(ObjectTable* doc, CPDFArray& array, const CPDFObjRef& ref, const char* module,
                     const char* method, const char* factor) {
  if (ref.IsValid() && (!doc || !doc->UpdateObj(ref))) ThrowPDF(module, method, CPDFException::kInternal, factor);
  // Only the elements go: objects they refer to stay in the document.
  array.Clear();
}

void AppendTo(ObjectTable* doc, CPDFArray& array, CPDFObject* value, const char* module, const char* method) {
  if (!array.Push_Back(doc, value)) ThrowPDF(module, method, CPDFException::kInternal, "");
}

}  // namespace koyo
