#include "koyo/font/SystemFontDesc.h"

#include <memory>

#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFString.h"

namespace koyo {

CPDFFontDesc* MakeSystemFontDesc(ObjectTable* doc, const TrueTypeInfo& info, int32_t flags, const char* fontName,
                                 const char* module, const char* method) {
  auto fail = [&] { ThrowPDF(module, method, CPDFException::kInternal, ""); };
  const FontBox& box = info.otmrcFontBox;
  auto bbox = std::make_unique<CPDFRect>();
  if (!bbox->Set(static_cast<float>(box.left), static_cast<float>(box.bottom), static_cast<float>(box.right),
                 static_cast<float>(box.top))) {
    fail();
  }
  auto desc = std::make_unique<CPDFFontDesc>();
  if (!desc->Create(doc, info.otmMacAscent, 0, info.otmMacDescent, flags, bbox.release(), fontName,
                    info.otmItalicAngle, 0)) {
    fail();
  }
  auto* style = new CPDFDict;
  if (!desc->Set_Style(style)) fail();
  char panose[12] = {};
  for (int i = 0; i < 10; ++i) panose[i] = static_cast<char>(info.otmPanoseNumber[i]);
  if (!style->SetValue(doc, "Panose", new CPDFString(panose, sizeof panose))) fail();
  return desc.release();
}

}  // namespace koyo
