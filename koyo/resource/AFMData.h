// The built-in font metrics as generated constant data: the global values and
// glyph rows of the fourteen standard fonts and the per-CID widths of the two
// Japanese CID fonts.
#pragma once
#include <cstddef>
#include <cstdint>

namespace koyo::resource_data {

struct AFMGlyphRow {
  const char* name;
  int16_t code;  // -1 when unencoded
  int16_t wx;
  int16_t bbox[4];
};

struct BuiltinAFM {
  const char* fontName;
  const char* fullName;
  const char* familyName;
  const char* weight;
  int16_t fontBBox[4];
  const char* version;
  const char* notice;
  const char* encodingScheme;
  const char* characterSet;
  int16_t characters;
  bool isBaseFont;
  bool isCIDFont;
  bool isFixedPitch;
  int16_t capHeight;
  int16_t xHeight;
  int16_t ascender;
  int16_t descender;
  int16_t stdHW;
  int16_t stdVW;
  int16_t underlinePosition;
  int16_t underlineThickness;
  int16_t italicAngle;
  // Named glyphs of an ordinary font (null for a CID font).
  const AFMGlyphRow* glyphs;
  size_t glyphCount;
  // Widths of a CID font, one per CID from 0 (null for an ordinary font).
  const uint16_t* cidWidths;
  size_t cidCount;
};

extern const BuiltinAFM kBuiltinAFMs[];
extern const size_t kBuiltinAFMCount;

}  // namespace koyo::resource_data
