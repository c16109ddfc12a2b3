#include "koyo/structure/CPDFRect.h"

#include <new>

#include "koyo/object/CPDFNumber.h"
#include "koyo/structure/StructRealize.h"

namespace koyo {

CPDFRect::CPDFRect() { SetNumbers({0.0f, 0.0f, 0.0f, 0.0f}); }

CPDFRect::CPDFRect(float x1, float y1, float x2, float y2) { SetNumbers({x1, y1, x2, y2}); }

CPDFRect& CPDFRect::operator=(const CPDFRect& other) {
  if (this != &other) SetNumbers({other.Value(0), other.Value(1), other.Value(2), other.Value(3)});
  return *this;
}

bool CPDFRect::SetNumbers(const float (&values)[4]) {
  Clear();
  for (float v : values) {
    auto* number = new (std::nothrow) CPDFNumber(v);
    if (!number || !Push_Back(nullptr, number)) return false;
  }
  return true;
}

bool CPDFRect::Set(float x1, float y1, float x2, float y2) { return SetNumbers({x1, y1, x2, y2}); }

float CPDFRect::Value(int32_t i) const {
  auto* number = dynamic_cast<CPDFNumber*>(GetObj(GetDoc(), i));
  if (!number) return 0.0f;
  int32_t whole = number->GetInt();
  if (whole >= -32767 && whole <= 32767) return number->GetReal();
  return static_cast<float>(whole);
}

bool CPDFRect::Verify(ObjectTable*, CPDFObject* value) {
  auto* array = dynamic_cast<CPDFArray*>(value);
  return array && array->IsType(kArray) && array->Count() == 4;
}

bool CPDFRect::Realize(ObjectTable* doc, CPDFObject* value) noexcept { return RealizePlain(*this, doc, value); }

}  // namespace koyo
