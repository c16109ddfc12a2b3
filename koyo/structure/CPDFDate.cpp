#include "koyo/structure/CPDFDate.h"

#include "koyo/platform/Format.h"
#include "koyo/structure/StructRealize.h"

namespace koyo {

bool CPDFDate::Verify(ObjectTable*, CPDFObject* value) {
  auto* string = dynamic_cast<CPDFString*>(value);
  if (!string || !string->IsType(kString | kText) || string->Length() < 2) return false;
  const char* text = string->c_str();
  return text[0] == 'D' && text[1] == ':';
}

bool CPDFDate::Realize(ObjectTable* doc, CPDFObject* value) noexcept { return RealizePlain(*this, doc, value); }

bool CPDFDate::SetTime(const std::tm& time) {
  char text[96];  // six int fields of at most 11 characters each
  size_t length = platform::FormatBounded(text, sizeof text, "D:%04d%02d%02d%02d%02d%02d", time.tm_year + 1900,
                                          time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
  return Assign(text, static_cast<int32_t>(length));
}

bool CPDFDate::SetNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!localtime_r(&now, &local)) return false;
  return SetTime(local);
}

}  // namespace koyo
