// A CIDFontType2 font: a CID font with TrueType glyphs. The library creates
// one, inside a Type 0 font, from an installed Shift-JIS TrueType font.
#pragma once
#include "koyo/font/CPDFCIDFont.h"

namespace koyo {

class CPDFType0Font;

class CPDFType2CIDFont : public CPDFCIDFont {
public:
  CPDFType2CIDFont() = default;
  ~CPDFType2CIDFont() override = default;

  KOYO_STATIC_NAME(Name_CIDFontType2, "CIDFontType2")

  // The CID font check and Subtype CIDFontType2.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // CID font create, then Subtype CIDFontType2.
  bool Create(ObjectTable* doc, const char* baseFont, CPDFCIDSysInfo* cidSystemInfo, CPDFFontDesc* fontDescriptor);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  // A new Type 0 font (not registered; owned by the caller) over a
  // CIDFontType2 descendant of Adobe-Japan1-2 built from the installed
  // Shift-JIS font named baseFont. Encoding is the given name or, when that is
  // empty, 90msp-RKSJ-H for a proportional font and 90ms-RKSJ-H for a
  // monospaced one. The descendant, its descriptor and CIDSystemInfo become
  // objects of doc. Null, with the failure recorded, for an unknown name or
  // another character set.
  static CPDFType0Font* CreateFont(ObjectTable* doc, const char* baseFont, const char* encoding);

  // Rebuilds W from the installed font: for a proportional font the widths of
  // the proportional and half-width Latin and katakana CIDs, for a monospaced
  // one the fixed half-width groups.
  bool CreateWidths() override;

  KOYO_RESOURCE(CPDFType2CIDFont, CPDFDict, "")
};

}  // namespace koyo
