// The metrics of one font from Adobe Font Metrics data: global values and
// per-glyph widths, by glyph name for ordinary fonts and by CID for CID-keyed
// fonts. Read from an AFM file or built from the built-in metrics.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace koyo {

struct AFMGlyphMetric {
  int16_t code = -1;  // -1 when unencoded
  int16_t wx = 0;     // horizontal width
  int16_t wy = 0;     // vertical width
  int16_t vv[2] = {0, 0};
  std::string name;
  int16_t bbox[4] = {0, 0, 0, 0};
};

class AFMFile {
public:
  // Parses an AFM file; false when it does not exist, cannot be read or does
  // not parse.
  bool LoadFile(const std::string& path);
  // Parses AFM text held in memory.
  bool LoadData(const char* data, size_t size);
  // <AFM directory><name>.afm, else the built-in metrics of that name.
  bool LoadByName(const std::string& name);
  // The built-in metrics of one of the fourteen standard fonts or of
  // HeiseiMin-W3 or HeiseiKakuGo-W5; false for any other name.
  bool LoadBuiltin(const std::string& name);

  const AFMGlyphMetric* GlyphByName(std::string_view name) const;
  const AFMGlyphMetric* GlyphByCID(uint16_t cid) const;

  const std::map<std::string, AFMGlyphMetric, std::less<>>& GlyphsByName() const { return byName_; }
  const std::map<uint16_t, AFMGlyphMetric>& GlyphsByCID() const { return byCID_; }

  std::string fontName;
  std::string fullName;
  std::string familyName;
  std::string weight;
  int16_t fontBBox[4] = {0, 0, 0, 0};
  std::string version;
  std::string notice;
  std::string encodingScheme;
  int16_t mappingScheme = 0;
  int16_t escChar = 0;
  std::string characterSet;
  int16_t characters = 0;
  bool isBaseFont = false;
  int16_t vVector[2] = {0, 0};
  bool isFixedV = false;
  bool isCIDFont = false;
  int16_t capHeight = 0;
  int16_t xHeight = 0;
  int16_t ascender = 0;
  int16_t descender = 0;
  int16_t stdHW = 0;
  int16_t stdVW = 0;
  int16_t underlinePosition = 0;
  int16_t underlineThickness = 0;
  int16_t italicAngle = 0;  // integer part
  int16_t charWidth[2] = {0, 0};
  bool isFixedPitch = false;
  int16_t stemV = 0;

private:
  void Clear();
  bool ParseGlobalLine(std::string_view line);
  bool ParseGlyphLine(std::string_view line);

  std::map<std::string, AFMGlyphMetric, std::less<>> byName_;
  std::map<uint16_t, AFMGlyphMetric> byCID_;
};

}  // namespace koyo
