#include "koyo/font/CPDFFont.h"

#include <cstring>
#include <new>
#include <string>

#include "koyo/object/CPDFException.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {
constexpr const char* kStandardFonts[] = {
    "Courier",     "Courier-Bold",   "Courier-BoldOblique", "Courier-Oblique", "Helvetica",
    "Helvetica-Bold", "Helvetica-BoldOblique", "Helvetica-Oblique", "Times-Roman", "Times-Bold",
    "Times-Italic", "Times-BoldItalic", "Symbol", "ZapfDingbats",
};
}  // namespace

bool CPDFFont::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  return dict && EntryIsName(doc, *dict, "Type", Name_Font()) && EntryHasType(doc, *dict, "BaseFont", kName);
}

bool CPDFFont::IsStandardFontName(const char* name) {
  if (!name) return false;
  for (const char* standard : kStandardFonts) {
    if (std::strcmp(standard, name) == 0) return true;
  }
  return false;
}

bool CPDFFont::Create(ObjectTable* doc, const char* baseFont) {
  SetDoc(doc);
  if (!baseFont) return false;
  return StoreName(*this, "Type", Name_Font()) && Set_BaseFont(new (std::nothrow) CPDFName(baseFont));
}

CPDFStream* CPDFFont::Get_ToUnicode(CPDFObjRef* ref) const {
  CPDFObject* value = GetValue(GetDoc(), "ToUnicode", ref);
  if (!value || !value->IsType(kStream)) return nullptr;
  return dynamic_cast<CPDFStream*>(value);
}

const char* CPDFFont::RequireBaseFont(const char* module, const char* method) const {
  CPDFName* name = Get_BaseFont();
  if (!name) ThrowPDF(module, method, CPDFException::kInternal, (std::string(module) + "::Get_BaseFont()").c_str());
  return name->c_str();
}

}  // namespace koyo
