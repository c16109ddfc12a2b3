#include "koyo/font/FontFactory.h"

#include "koyo/font/CPDFMMType1Font.h"
#include "koyo/font/CPDFTrueTypeFont.h"
#include "koyo/font/CPDFType0Font.h"
#include "koyo/font/CPDFType1Font.h"
#include "koyo/font/CPDFType3Font.h"
#include "koyo/structure/StructFactory.h"

namespace koyo {

namespace {
constexpr FactoryCandidate<CPDFFont> kCandidates[] = {
    CandidateOf<CPDFFont, CPDFType1Font>(CPDFFont::kType1),
    CandidateOf<CPDFFont, CPDFTrueTypeFont>(CPDFFont::kTrueType),
    CandidateOf<CPDFFont, CPDFMMType1Font>(CPDFFont::kMMType1),
    CandidateOf<CPDFFont, CPDFType3Font>(CPDFFont::kType3),
    CandidateOf<CPDFFont, CPDFType0Font>(CPDFFont::kType0),
};
}  // namespace

CPDFFont* CPDFFont::Recognize(ObjectTable* doc, CPDFObject* value, int32_t mask) {
  return RunFactory<CPDFFont>(doc, value, mask, kCandidates);
}

CPDFResource* MakeFontResource(ObjectTable* doc, CPDFObject* value, int32_t mask) {
  return CPDFFont::Recognize(doc, value, mask);
}

}  // namespace koyo
