#include "koyo/font/CPDFType2CIDFont.h"

#include <memory>
#include <new>

#include "koyo/object/CPDFInt.h"
#include "koyo/font/CPDFType0Font.h"
#include "koyo/font/FontCall.h"
#include "koyo/font/SystemFontDesc.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFType2CIDFont";
constexpr uint8_t kShiftJisSet = 128;

// One group of the proportional widths: codes low..high of the installed
// font give the widths of the CIDs from firstCID on.
struct CodeGroup {
  int32_t low;
  int32_t high;
  int32_t firstCID;
};
// Proportional Latin, half-width Latin, half-width katakana, and the tilde
// of the half-width Latin set.
constexpr CodeGroup kProportionalGroups[] = {
    {0x20, 0x7D, 1},
    {0x20, 0x7E, 231},
    {0xA0, 0xDF, 326},
    {0x7E, 0x7E, 631},
};
// Monospaced: CIDs 1-94, 231-389 and 631 are half width; the rest take DW.
constexpr int32_t kMonospacedW[] = {1, 94, 500, 231, 389, 500, 631, 631, 500};

// The advance of a code; 0 outside the font's codes. A code inside them whose
// width cannot be read fails: the font file is gone or unreadable, and widths
// of 0 would be written as if they were measured.
int32_t AdvanceOf(TrueTypeInfo& info, int32_t code, const char* name) {
  const ABC* abc = info.GetCharABC(code);
  if (abc) return abc->abcA + abc->abcB + abc->abcC;
  if (code >= info.tmFirstChar && code <= info.tmLastChar) {
    ThrowPDFFormat(kModule, "CreateWidths", CPDFException::kSystem, "cannot read the widths of %s", name);
  }
  return 0;
}

}  // namespace

bool CPDFType2CIDFont::Verify(ObjectTable* doc, CPDFObject* value) {
  return CPDFCIDFont::Verify(doc, value) && EntryIsName(doc, *DictOf(value), "Subtype", Name_CIDFontType2());
}

bool CPDFType2CIDFont::Create(ObjectTable* doc, const char* baseFont, CPDFCIDSysInfo* cidSystemInfo,
                              CPDFFontDesc* fontDescriptor) {
  return CPDFCIDFont::Create(doc, baseFont, cidSystemInfo, fontDescriptor) &&
         StoreName(*this, "Subtype", Name_CIDFontType2());
}

bool CPDFType2CIDFont::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] { RealizeCIDEntries(doc); });
}

CPDFType0Font* CPDFType2CIDFont::CreateFont(ObjectTable* doc, const char* baseFont, const char* encoding) {
  return FontBoundary<CPDFType0Font*>(doc, kModule, "CreateFont", nullptr, [&]() -> CPDFType0Font* {
    auto fail = [] { ThrowPDF(kModule, "CreateFont", CPDFException::kInternal, ""); };
    const char* name = baseFont ? baseFont : "";
    FontServices* services = ServicesOf(doc);
    TrueTypeInfo* info = services ? services->GetTrueTypeInfo(name) : nullptr;
    if (!info) ThrowPDFFormat(kModule, "CreateFont", CPDFException::kUser, "TrueType info not found: %s", name);
    if (info->lfCharSet != kShiftJisSet) {
      ThrowPDFFormat(kModule, "CreateFont", CPDFException::kUser, "unknown TrueType encoding: %s", name);
    }
    bool proportional = (info->tmPitchAndFamily & kTmProportional) != 0;
    const char* chosen = encoding && *encoding ? encoding : (proportional ? "90msp-RKSJ-H" : "90ms-RKSJ-H");

    auto sysInfo = std::make_unique<CPDFCIDSysInfo>();
    if (!sysInfo->Create(doc, "Adobe", "Japan1", 2)) fail();
    std::unique_ptr<CPDFFontDesc> desc(
        MakeSystemFontDesc(doc, *info, CPDFFontDesc::kSymbolic, name, kModule, "CreateFont"));
    auto cidFont = std::make_unique<CPDFType2CIDFont>();
    if (!cidFont->Create(doc, name, sysInfo.release(), desc.release())) fail();
    if (!cidFont->Set_DW(new (std::nothrow) CPDFInt(1000)) || !cidFont->Set_W(new (std::nothrow) CPDFArray)) fail();

    auto descendants = std::make_unique<CPDFArray>();
    if (!descendants->Push_Back(doc, cidFont.release(), true)) fail();
    auto font = std::make_unique<CPDFType0Font>();
    if (!font->Create(doc, name, descendants.release(), chosen)) fail();
    if (!font->CreateWidths()) return nullptr;
    return font.release();
  });
}

bool CPDFType2CIDFont::CreateWidths() {
  ObjectTable* doc = GetDoc();
  return FontBoundary<bool>(doc, kModule, "CreateWidths", false, [&] {
    const char* name = RequireBaseFont(kModule, "CreateWidths");
    CPDFObjRef ref;
    CPDFArray* w = Get_W(&ref);
    if (w) {
      EmptyForRewrite(doc, *w, ref, kModule, "CreateWidths", "CPDFCIDFont::Get_W()");
    } else {
      w = new CPDFArray;
      if (!Set_W(w)) ThrowPDF(kModule, "CreateWidths", CPDFException::kInternal, "");
    }
    FontServices* services = ServicesOf(doc);
    TrueTypeInfo* info = services ? services->GetTrueTypeInfo(name) : nullptr;
    if (!info) ThrowPDFFormat(kModule, "CreateWidths", CPDFException::kUser, "undefined TrueType font: %s", name);
    auto append = [&](CPDFArray& array, int32_t value) {
      AppendTo(doc, array, new CPDFInt(value), kModule, "CreateWidths");
    };
    if (info->tmPitchAndFamily & kTmProportional) {
      for (const CodeGroup& group : kProportionalGroups) {
        if (group.low == group.high) {
          append(*w, group.firstCID);
          append(*w, group.firstCID);
          append(*w, AdvanceOf(*info, group.low, name));
          continue;
        }
        append(*w, group.firstCID);
        auto* widths = new CPDFArray;
        AppendTo(doc, *w, widths, kModule, "CreateWidths");
        for (int32_t code = group.low; code <= group.high; ++code) append(*widths, AdvanceOf(*info, code, name));
      }
    } else {
      for (int32_t value : kMonospacedW) append(*w, value);
    }
    return true;
  });
}

}  // namespace koyo
