// Abstract base of the CIDFont dictionaries, the descendants of Type 0
// fonts: glyphs addressed by CID, with a default width DW and width groups W.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/font/CPDFCIDSysInfo.h"
#include "koyo/font/CPDFFont.h"
#include "koyo/font/CPDFFontDesc.h"

namespace koyo {

class CPDFCIDFont : public CPDFFont {
public:
  // Candidate bits of RecognizeCIDFont.
  enum : int32_t {
    kCIDFontType0 = 0x1,
    kCIDFontType2 = 0x2,
  };

  ~CPDFCIDFont() override = default;

  // The font check, CIDSystemInfo a dictionary and FontDescriptor a
  // dictionary.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // The first CID font class allowed by mask whose check accepts value,
  // realized from it; null otherwise.
  static CPDFCIDFont* RecognizeCIDFont(ObjectTable* doc, CPDFObject* value, int32_t mask);

  // Font create; cidSystemInfo and fontDescriptor (both taken over) stored
  // indirectly. The subclass then writes its Subtype.
  bool Create(ObjectTable* doc, const char* baseFont, CPDFCIDSysInfo* cidSystemInfo, CPDFFontDesc* fontDescriptor);

  KOYO_GET_SET(CPDFCIDSysInfo, CIDSystemInfo)
  KOYO_GET_SET(CPDFFontDesc, FontDescriptor)
  KOYO_GET_SET(CPDFNumber, DW)
  KOYO_GET_SET(CPDFArray, W)
  KOYO_GET(CPDFArray, DW2)
  KOYO_GET(CPDFArray, W2)

  CPDFFontDesc* GetFontDesc() const override { return Get_FontDescriptor(); }
  // Width of a string of CIDs (two bytes each, big-endian; an odd last byte
  // is ignored) from W and DW (0 when DW is absent); 0 without W, -1 when W
  // is malformed.
  double CalcStringWidth(const unsigned char* bytes, size_t length) override;

protected:
  CPDFCIDFont() = default;
  // CIDSystemInfo, FontDescriptor and DW of a CID font being realized.
  void RealizeCIDEntries(ObjectTable* doc);
};

}  // namespace koyo
