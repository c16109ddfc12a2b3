// A simple TrueType font. Besides reading one, the library creates one from
// an installed TrueType font of the ANSI or Mac character set, with widths
// measured from that font.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/font/CPDFFont.h"
#include "koyo/font/CPDFFontDesc.h"

namespace koyo {

class CPDFTrueTypeFont : public CPDFFont {
public:
  CPDFTrueTypeFont() = default;
  ~CPDFTrueTypeFont() override = default;

  KOYO_STATIC_NAME(Name_TrueType, "TrueType")

  // The font check and Subtype TrueType; nothing else is needed.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Font create; Subtype TrueType; FirstChar and LastChar direct integers;
  // widths and fontDescriptor (both taken over) stored indirectly.
  bool Create(ObjectTable* doc, const char* baseFont, int32_t firstChar, int32_t lastChar, CPDFArray* widths,
              CPDFFontDesc* fontDescriptor);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  // A new font (not registered; owned by the caller) from the installed font
  // named baseFont: its code range, widths and descriptor, Encoding the given
  // name or, when that is empty, WinAnsiEncoding for an ANSI font and
  // MacRomanEncoding for a Mac font. Null, with the failure recorded, for an
  // unknown name or another character set.
  static CPDFTrueTypeFont* CreateFont(ObjectTable* doc, const char* baseFont, const char* encoding);

  KOYO_GET_SET(CPDFNumber, FirstChar)
  KOYO_GET_SET(CPDFNumber, LastChar)
  KOYO_GET_SET(CPDFArray, Widths)
  KOYO_GET_SET(CPDFFontDesc, FontDescriptor)

  // Widths from the installed font: one per code from FirstChar (or 0) to
  // LastChar (or 255).
  bool CreateWidths() override;
  CPDFFontDesc* GetFontDesc() const override { return Get_FontDescriptor(); }
  // The sum of the widths of the bytes within FirstChar to LastChar, from
  // Widths or, without it, from the installed font; other bytes add nothing.
  double CalcStringWidth(const unsigned char* bytes, size_t length) override;

  KOYO_RESOURCE(CPDFTrueTypeFont, CPDFDict, "TT")

private:
  // FirstChar and LastChar (required when required is set, else 0 and 255),
  // each within 0 to 255.
  void CodeRange(const char* method, bool required, int32_t& first, int32_t& last) const;
};

}  // namespace koyo
