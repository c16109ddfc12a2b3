#include "koyo/font/CPDFType0Font.h"

#include <memory>
#include <new>
#include <vector>

#include "koyo/font/CPDFCIDFont.h"
#include "koyo/font/CPDFCMap.h"
#include "koyo/font/FontCall.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFType0Font";

CPDFObject* MakeDescendant(ObjectTable* doc, CPDFObject* value) {
  return CPDFCIDFont::RecognizeCIDFont(doc, value, -1);
}

}  // namespace

bool CPDFType0Font::Verify(ObjectTable* doc, CPDFObject* value) {
  if (!CPDFFont::Verify(doc, value)) return false;
  const CPDFDict& dict = *DictOf(value);
  return EntryIsName(doc, dict, "Subtype", Name_Type0()) && EntryHasType(doc, dict, "DescendantFonts", kArray) &&
         EntryHasType(doc, dict, "Encoding", kName | kStream);
}

bool CPDFType0Font::Create(ObjectTable* doc, const char* baseFont, CPDFArray* descendantFonts, const char* encoding) {
  std::unique_ptr<CPDFArray> descendants(descendantFonts);
  if (!CPDFFont::Create(doc, baseFont) || !StoreName(*this, "Subtype", Name_Type0())) return false;
  if (!descendants || !encoding) return false;
  return Set_DescendantFonts(descendants.release()) && Set_Encoding(new (std::nothrow) CPDFName(encoding));
}

bool CPDFType0Font::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    RealizeEntry(doc, *this, "Encoding", kStream, MakeAs<CPDFCMap>);
    CPDFObject* descendants = GetValue(doc, "DescendantFonts");
    if (!descendants) {
      if (HasKey("DescendantFonts")) FailStruct();
      return;
    }
    if (auto* array = dynamic_cast<CPDFArray*>(descendants)) RealizeElements(doc, *array, kDict, MakeDescendant);
  });
}

CPDFFont* CPDFType0Font::GetDescendant() const {
  CPDFArray* descendants = Get_DescendantFonts();
  return descendants ? dynamic_cast<CPDFCIDFont*>(descendants->GetObj(GetDoc(), 0)) : nullptr;
}

CPDFFontDesc* CPDFType0Font::GetFontDesc() const {
  CPDFFont* descendant = GetDescendant();
  return descendant ? descendant->GetFontDesc() : nullptr;
}

bool CPDFType0Font::CreateWidths() {
  ObjectTable* doc = GetDoc();
  return FontBoundary<bool>(doc, kModule, "CreateWidths", false, [&] {
    CPDFArray* descendants = Get_DescendantFonts();
    if (!descendants) ThrowPDF(kModule, "CreateWidths", CPDFException::kInternal, "CPDFType0Font::Get_DescendantFonts()");
    for (int32_t i = 0; i < descendants->Count(); ++i) {
      CPDFObjRef ref;
      auto* font = dynamic_cast<CPDFFont*>(descendants->GetObj(doc, i, &ref));
      bool ok = font && (!ref.IsValid() || (doc && doc->UpdateObj(ref))) && font->CreateWidths();
      if (!ok) ThrowPDF(kModule, "CreateWidths", CPDFException::kInternal, "CPDFCIDFont::UpdateCharWidth()");
    }
    return true;
  });
}

double CPDFType0Font::CalcStringWidth(const unsigned char* bytes, size_t length) {
  ObjectTable* doc = GetDoc();
  return FontBoundary<double>(doc, kModule, "CalcStringWidth", -1.0, [&]() -> double {
    if (!bytes && length > 0) ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "");
    CPDFFont* descendant = GetDescendant();
    if (!descendant) {
      ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "CPDFType0Font::Get_DescendantFonts()");
    }
    CPDFObject* encoding = Get_Encoding();
    if (!encoding) ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "CPDFType0Font::Get_Encoding()");

    std::vector<unsigned char> cids(length * 2);
    size_t count = 0;
    if (auto* name = dynamic_cast<CPDFName*>(encoding)) {
      FontServices* services = ServicesOf(doc);
      CMapFile* cmap = services ? services->GetCMap(name->c_str()) : nullptr;
      if (!cmap) ThrowPDFFormat(kModule, "CalcStringWidth", CPDFException::kUser, "undefined CMap: %s", name->c_str());
      // A cached CMap fills its lookup caches while converting.
      platform::ScopedLock hold(&services->GetLock());
      count = cmap->CodeToCID(cids.data(), cids.size(), bytes, length);
    } else if (auto* stream = dynamic_cast<CPDFStream*>(encoding); stream && encoding->IsType(kStream)) {
      if (auto* filter = dynamic_cast<CPDFName*>(stream->GetValue(doc, "Filter"))) {
        ThrowPDFFormat(kModule, "CalcStringWidth", CPDFException::kInternal, "cannot decode CMap stream: %s",
                       filter->c_str());
      }
      if (stream->HasKey("Filter")) {
        ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "cannot decode CMap stream");
      }
      CMapFile cmap;
      if (!cmap.LoadStream(*stream, false)) {
        ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "invalid ToUnicode stream");
      }
      count = cmap.CodeToCID(cids.data(), cids.size(), bytes, length);
    } else {
      ThrowPDFFormat(kModule, "CalcStringWidth", CPDFException::kInvalidFormat, "typecheck: %s",
                     encoding->GetTypeName());
    }
    double width = descendant->CalcStringWidth(cids.data(), count);
    // The descendant ran its own boundary: its failure is in the record.
    if (width < 0) ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "");
    return width;
  });
}

}  // namespace koyo
