#include "koyo/font/CPDFTrueTypeFont.h"

#include <memory>
#include <new>

#include "koyo/object/CPDFInt.h"
#include "koyo/font/FontCall.h"
#include "koyo/font/SimpleFontParts.h"
#include "koyo/font/SystemFontDesc.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFTrueTypeFont";

// Character sets of the metrics record.
constexpr uint8_t kAnsiSet = 0;
constexpr uint8_t kSymbolSet = 2;
constexpr uint8_t kMacSet = 77;

TrueTypeInfo* RequireInfo(ObjectTable* doc, const char* name, const char* method) {
  FontServices* services = ServicesOf(doc);
  TrueTypeInfo* info = services ? services->GetTrueTypeInfo(name) : nullptr;
  if (!info) ThrowPDFFormat(kModule, method, CPDFException::kUser, "undefined TrueType font: %s", name);
  return info;
}

int32_t AdvanceOf(TrueTypeInfo& info, int32_t code) {
  const ABC* abc = info.GetCharABC(code);
  return abc ? abc->abcA + abc->abcB + abc->abcC : 0;
}

}  // namespace

bool CPDFTrueTypeFont::Verify(ObjectTable* doc, CPDFObject* value) {
  return CPDFFont::Verify(doc, value) && EntryIsName(doc, *DictOf(value), "Subtype", Name_TrueType());
}

bool CPDFTrueTypeFont::Create(ObjectTable* doc, const char* baseFont, int32_t firstChar, int32_t lastChar,
                              CPDFArray* widths, CPDFFontDesc* fontDescriptor) {
  std::unique_ptr<CPDFArray> ownedWidths(widths);
  std::unique_ptr<CPDFFontDesc> ownedDesc(fontDescriptor);
  if (!CPDFFont::Create(doc, baseFont) || !StoreName(*this, "Subtype", Name_TrueType())) return false;
  if (!ownedWidths || !ownedDesc) return false;
  return Set_FirstChar(new (std::nothrow) CPDFInt(firstChar)) && Set_LastChar(new (std::nothrow) CPDFInt(lastChar)) &&
         Set_Widths(ownedWidths.release(), true) && Set_FontDescriptor(ownedDesc.release(), true);
}

bool CPDFTrueTypeFont::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] { RealizeSimpleFontEntries(doc, *this); });
}

void CPDFTrueTypeFont::CodeRange(const char* method, bool required, int32_t& first, int32_t& last) const {
  first = 0;
  last = 255;
  CPDFNumber* firstChar = Get_FirstChar();
  CPDFNumber* lastChar = Get_LastChar();
  if (firstChar) first = firstChar->GetInt();
  if (lastChar) last = lastChar->GetInt();
  // Codes are single bytes: a range outside them is as bad as a missing one.
  if ((required && !firstChar) || first < 0 || first > 255) {
    ThrowPDF(kModule, method, CPDFException::kInternal, "CPDFTrueTypeFont::Get_FirstChar()");
  }
  if ((required && !lastChar) || last < 0 || last > 255) {
    ThrowPDF(kModule, method, CPDFException::kInternal, "CPDFTrueTypeFont::Get_LastChar()");
  }
}

CPDFTrueTypeFont* CPDFTrueTypeFont::CreateFont(ObjectTable* doc, const char* baseFont, const char* encoding) {
  return FontBoundary<CPDFTrueTypeFont*>(doc, kModule, "CreateFont", nullptr, [&]() -> CPDFTrueTypeFont* {
    const char* name = baseFont ? baseFont : "";
    FontServices* services = ServicesOf(doc);
    TrueTypeInfo* info = services ? services->GetTrueTypeInfo(name) : nullptr;
    if (!info) ThrowPDFFormat(kModule, "CreateFont", CPDFException::kUser, "TrueType info not found: %s", name);
    const char* chosen = encoding && *encoding ? encoding : nullptr;
    switch (info->lfCharSet) {
      case kAnsiSet:
        if (!chosen) chosen = "WinAnsiEncoding";
        break;
      case kMacSet:
        if (!chosen) chosen = "MacRomanEncoding";
        break;
      case kSymbolSet:
        ThrowPDFFormat(kModule, "CreateFont", CPDFException::kUser, "invalid TrueType encoding: %s", name);
      default:
        ThrowPDFFormat(kModule, "CreateFont", CPDFException::kUser, "unknown TrueType encoding: %s", name);
    }
    int32_t flags = CPDFFontDesc::kNonsymbolic;
    if (info->lfPitchAndFamily & 0x01) flags |= CPDFFontDesc::kFixedPitch;
    if (info->lfPitchAndFamily & 0x10) flags |= CPDFFontDesc::kSerif;
    if (info->lfPitchAndFamily & 0x40) flags |= CPDFFontDesc::kScript;
    std::unique_ptr<CPDFFontDesc> desc(MakeSystemFontDesc(doc, *info, flags, name, kModule, "CreateFont"));
    auto font = std::make_unique<CPDFTrueTypeFont>();
    if (!font->Create(doc, name, info->tmFirstChar, info->tmLastChar, new CPDFArray, desc.release()) ||
        !font->Set_Encoding(new (std::nothrow) CPDFName(chosen))) {
      ThrowPDF(kModule, "CreateFont", CPDFException::kInternal, "");
    }
    if (!font->CreateWidths()) return nullptr;
    return font.release();
  });
}

bool CPDFTrueTypeFont::CreateWidths() {
  ObjectTable* doc = GetDoc();
  return FontBoundary<bool>(doc, kModule, "CreateWidths", false, [&] {
    const char* name = RequireBaseFont(kModule, "CreateWidths");
    CPDFObjRef ref;
    CPDFArray* widths = Get_Widths(&ref);
    int32_t first = 0;
    int32_t last = 0;
    CodeRange("CreateWidths", widths != nullptr, first, last);
    TrueTypeInfo* info = RequireInfo(doc, name, "CreateWidths");
    if (widths) {
      EmptyForRewrite(doc, *widths, ref, kModule, "CreateWidths", "CPDFTrueTypeFont::Get_Widths()");
    } else {
      widths = new CPDFArray;
      if (!Set_Widths(widths, true)) ThrowPDF(kModule, "CreateWidths", CPDFException::kInternal, "");
    }
    for (int32_t code = first; code <= last; ++code) {
      AppendTo(doc, *widths, new CPDFInt(AdvanceOf(*info, code)), kModule, "CreateWidths");
    }
    return true;
  });
}

double CPDFTrueTypeFont::CalcStringWidth(const unsigned char* bytes, size_t length) {
  ObjectTable* doc = GetDoc();
  return FontBoundary<double>(doc, kModule, "CalcStringWidth", -1.0, [&] {
    const char* name = RequireBaseFont(kModule, "CalcStringWidth");
    if (!bytes && length > 0) ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "");
    CPDFArray* widths = Get_Widths();
    int32_t first = 0;
    int32_t last = 0;
    CodeRange("CalcStringWidth", widths != nullptr, first, last);
    double sum = 0;
    if (widths) {
      for (size_t i = 0; i < length; ++i) {
        int32_t code = bytes[i];
        if (code < first || code > last) continue;
        auto* width = dynamic_cast<CPDFNumber*>(widths->GetObj(doc, code - first));
        if (!width) ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "CPDFTrueTypeFont::Get_Widths()");
        sum += width->GetReal();
      }
      return sum;
    }
    TrueTypeInfo* info = RequireInfo(doc, name, "CalcStringWidth");
    for (size_t i = 0; i < length; ++i) {
      int32_t code = bytes[i];
      if (code >= first && code <= last) sum += AdvanceOf(*info, code);
    }
    return sum;
  });
}

}  // namespace koyo
