#include "koyo/structure/CPDFResource.h"

#include <cstring>

#include "koyo/platform/Format.h"

namespace koyo {

namespace {
struct CategoryRow {
  int32_t bit;
  const char* name;
};
constexpr CategoryRow kCategories[] = {
    {CPDFResource::kColorSpace, "ColorSpace"}, {CPDFResource::kXObject, "XObject"},
    {CPDFResource::kExtGState, "ExtGState"},   {CPDFResource::kFont, "Font"},
    {CPDFResource::kPattern, "Pattern"},       {CPDFResource::kProcSet, "ProcSet"},
    {CPDFResource::kProperties, "Properties"}, {CPDFResource::kShading, "Shading"},
};
}  // namespace

const char* CPDFResource::CategoryNameOf(int32_t category) {
  for (const auto& row : kCategories) {
    if (row.bit == category) return row.name;
  }
  return nullptr;
}

int32_t CPDFResource::CategoryOf(const char* name) {
  if (!name) return 0;
  for (const auto& row : kCategories) {
    if (std::strcmp(row.name, name) == 0) return row.bit;
  }
  return 0;
}

bool CPDFResource::MakeName(int32_t number, CPDFName& name) const {
  char text[64];
  const CPDFName& prefix = NamePrefix();
  // A prefix is a short class constant; the number takes at most 11 bytes.
  if (prefix.Length() > 40) return false;
  platform::FormatBounded(text, sizeof text, "%s%d", prefix.c_str(), static_cast<int>(number));
  return name.Assign(text);
}

}  // namespace koyo
