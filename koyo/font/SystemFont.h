// Replacement fonts built from installed fonts, and the check that tells
// whether a font carries its own glyphs (which a replacement would lose).
#pragma once
#include "koyo/object/CPDFDict.h"
#include "koyo/font/CPDFFont.h"

namespace koyo {

// A new font for the installed font named baseFont (owned by the caller, not
// registered): a simple TrueType font for an ANSI or Mac font, otherwise a
// Type 0 font over a CIDFontType2 descendant for a Shift-JIS font. encoding
// (may be empty) names the font's encoding or CMap; empty chooses by the
// font. Null, with the failure in doc's error record, when neither creator
// can build it.
CPDFFont* CreateSystemFont(ObjectTable* doc, const char* baseFont, const char* encoding);

// True when font (a font dictionary, wrapped or as read) has a descriptor
// with FontFile, FontFile2 or FontFile3, or one of its DescendantFonts has.
bool EmbedsFontProgram(ObjectTable* doc, const CPDFDict& font);

}  // namespace koyo
