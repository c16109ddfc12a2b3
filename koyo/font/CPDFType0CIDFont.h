// A CIDFontType0 font: a CID font with Type 1 (CFF) glyphs, whose widths come
// from the CID metrics of its AFM data.
#pragma once
#include "koyo/font/CPDFCIDFont.h"

namespace koyo {

class CPDFType0CIDFont : public CPDFCIDFont {
public:
  CPDFType0CIDFont() = default;
  ~CPDFType0CIDFont() override = default;

  KOYO_STATIC_NAME(Name_CIDFontType0, "CIDFontType0")

  // The CID font check and Subtype CIDFontType0.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // CID font create, then Subtype CIDFontType0.
  bool Create(ObjectTable* doc, const char* baseFont, CPDFCIDSysInfo* cidSystemInfo, CPDFFontDesc* fontDescriptor);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  // Rebuilds W from the CID metrics of BaseFont: every CID whose width differs
  // from DW (created as 1000 when absent), in runs of equal widths and lists
  // of differing ones. False when there are no CID metrics for the font.
  bool CreateWidths() override;

  KOYO_RESOURCE(CPDFType0CIDFont, CPDFDict, "")
};

}  // namespace koyo
