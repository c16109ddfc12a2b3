#include "koyo/font/CPDFCIDFont.h"

#include <memory>
#include <set>

#include "koyo/font/CPDFType0CIDFont.h"
#include "koyo/font/CPDFType2CIDFont.h"
#include "koyo/font/FontCall.h"
#include "koyo/structure/StructFactory.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFCIDFont";

constexpr FactoryCandidate<CPDFCIDFont> kCandidates[] = {
    CandidateOf<CPDFCIDFont, CPDFType0CIDFont>(CPDFCIDFont::kCIDFontType0),
    CandidateOf<CPDFCIDFont, CPDFType2CIDFont>(CPDFCIDFont::kCIDFontType2),
};

[[noreturn]] void MalformedW() {
  ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "CPDFCIDFont::Get_W()");
}

}  // namespace

bool CPDFCIDFont::Verify(ObjectTable* doc, CPDFObject* value) {
  if (!CPDFFont::Verify(doc, value)) return false;
  const CPDFDict& dict = *DictOf(value);
  return EntryHasType(doc, dict, "CIDSystemInfo", kDict) && EntryHasType(doc, dict, "FontDescriptor", kDict);
}

CPDFCIDFont* CPDFCIDFont::RecognizeCIDFont(ObjectTable* doc, CPDFObject* value, int32_t mask) {
  return RunFactory<CPDFCIDFont>(doc, value, mask, kCandidates);
}

bool CPDFCIDFont::Create(ObjectTable* doc, const char* baseFont, CPDFCIDSysInfo* cidSystemInfo,
                         CPDFFontDesc* fontDescriptor) {
  std::unique_ptr<CPDFCIDSysInfo> info(cidSystemInfo);
  std::unique_ptr<CPDFFontDesc> desc(fontDescriptor);
  if (!CPDFFont::Create(doc, baseFont) || !info || !desc) return false;
  return Set_CIDSystemInfo(info.release(), true) && Set_FontDescriptor(desc.release(), true);
}

void CPDFCIDFont::RealizeCIDEntries(ObjectTable* doc) {
  RealizeEntries(doc, *this,
                 {
                     {"CIDSystemInfo", kDict, MakeAs<CPDFCIDSysInfo>},
                     {"FontDescriptor", kDict, MakeAs<CPDFFontDesc>},
                     {"DW", kNumber, MakeInt},
                 });
}

double CPDFCIDFont::CalcStringWidth(const unsigned char* bytes, size_t length) {
  ObjectTable* doc = GetDoc();
  return FontBoundary<double>(doc, kModule, "CalcStringWidth", -1.0, [&]() -> double {
    if (!bytes && length > 0) ThrowPDF(kModule, "CalcStringWidth", CPDFException::kInternal, "");
    CPDFArray* w = Get_W();
    if (!w) return 0;
    CPDFNumber* dwValue = Get_DW();
    double dw = dwValue ? dwValue->GetReal() : 0;

    std::multiset<int32_t> cids;
    for (size_t i = 0; i + 1 < length; i += 2) cids.insert((bytes[i] << 8) | bytes[i + 1]);

    double sum = 0;
    auto number = [&](int32_t index) -> CPDFNumber* {
      auto* value = dynamic_cast<CPDFNumber*>(w->GetObj(doc, index));
      if (!value) MalformedW();
      return value;
    };
    int32_t index = 0;
    while (index < w->Count()) {
      int32_t first = number(index)->GetInt();
      // CIDs below the group take the default width.
      for (auto it = cids.begin(); it != cids.end() && *it < first;) {
        sum += dw;
        it = cids.erase(it);
      }
      CPDFObject* next = w->GetObj(doc, index + 1);
      if (auto* list = dynamic_cast<CPDFArray*>(next)) {
        int64_t end = static_cast<int64_t>(first) + list->Count();
        for (auto it = cids.begin(); it != cids.end() && *it < end;) {
          auto* width = dynamic_cast<CPDFNumber*>(list->GetObj(doc, *it - first));
          if (!width) MalformedW();
          sum += width->GetReal();
          it = cids.erase(it);
        }
        index += 2;
      } else if (dynamic_cast<CPDFNumber*>(next)) {
        int32_t last = number(index + 1)->GetInt();
        double width = number(index + 2)->GetReal();
        for (auto it = cids.begin(); it != cids.end() && *it <= last;) {
          sum += width;
          it = cids.erase(it);
        }
        index += 3;
      } else {
        MalformedW();
      }
    }
    sum += dw * static_cast<double>(cids.size());
    return sum;
  });
}

}  // namespace koyo
