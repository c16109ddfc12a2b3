// A Type 0 (composite) font: multi-byte text mapped through a CMap (its
// Encoding, a CMap name or an embedded CMap stream) to the CIDs of its one
// CID font descendant.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/font/CPDFFont.h"

namespace koyo {

class CPDFType0Font : public CPDFFont {
public:
  CPDFType0Font() = default;
  ~CPDFType0Font() override = default;

  KOYO_STATIC_NAME(Name_Type0, "Type0")

  // The font check, Subtype Type0, DescendantFonts an array, Encoding a name
  // or a stream.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Font create; Subtype Type0; descendantFonts (taken over) stored
  // directly; Encoding a direct name.
  bool Create(ObjectTable* doc, const char* baseFont, CPDFArray* descendantFonts, const char* encoding);
  // An Encoding stream becomes a CPDFCMap, each DescendantFonts element that
  // a CID font class accepts that CID font.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFArray, DescendantFonts)

  // The first descendant as a CID font, or null.
  CPDFFont* GetDescendant() const;

  // CreateWidths of every descendant (each one indirect is marked changed
  // first, so that its new widths are saved).
  bool CreateWidths() override;
  // The descriptor of the first descendant.
  CPDFFontDesc* GetFontDesc() const override;
  // Converts the bytes to CIDs through the Encoding CMap and measures them
  // with the first descendant; -1 on failure.
  double CalcStringWidth(const unsigned char* bytes, size_t length) override;

  KOYO_RESOURCE(CPDFType0Font, CPDFDict, "G")
};

}  // namespace koyo
