#include "koyo/font/SystemFont.h"

#include "koyo/object/CPDFArray.h"
#include "koyo/font/CPDFTrueTypeFont.h"
#include "koyo/font/CPDFType0Font.h"
#include "koyo/font/CPDFType2CIDFont.h"

namespace koyo {

namespace {

bool DescriptorEmbeds(ObjectTable* doc, const CPDFDict& font) {
  auto* desc = dynamic_cast<CPDFDict*>(font.GetValue(doc, "FontDescriptor"));
  return desc && (desc->HasKey("FontFile") || desc->HasKey("FontFile2") || desc->HasKey("FontFile3"));
}

}  // namespace

CPDFFont* CreateSystemFont(ObjectTable* doc, const char* baseFont, const char* encoding) {
  if (CPDFFont* font = CPDFTrueTypeFont::CreateFont(doc, baseFont, encoding)) return font;
  return CPDFType2CIDFont::CreateFont(doc, baseFont, encoding);
}

bool EmbedsFontProgram(ObjectTable* doc, const CPDFDict& font) {
  if (DescriptorEmbeds(doc, font)) return true;
  auto* descendants = dynamic_cast<CPDFArray*>(font.GetValue(doc, "DescendantFonts"));
  if (!descendants) return false;
  // Descendants are CID fonts, which have no descendants of their own: one
  // level is all there is to look at.
  for (int32_t i = 0; i < descendants->Count(); ++i) {
    auto* descendant = dynamic_cast<CPDFDict*>(descendants->GetObj(doc, i));
    if (descendant && DescriptorEmbeds(doc, *descendant)) return true;
  }
  return false;
}

}  // namespace koyo
