#include "koyo/sysfont/FaceReader.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include "koyo/sysfont/CodePage.h"

namespace koyo {

namespace {

// One FreeType library with one face open; each user has its own, so that faces
// can be read from any thread.
class OpenFace {
public:
  OpenFace(const std::string& file, int index) {
    if (FT_Init_FreeType(&library_) != 0) {
      library_ = nullptr;
      return;
    }
    if (FT_New_Face(library_, file.c_str(), index, &face_) != 0) face_ = nullptr;
  }
  ~OpenFace() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
  }
  OpenFace(const OpenFace&) = delete;
  OpenFace& operator=(const OpenFace&) = delete;

  FT_Face get() const { return face_; }

private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

// OS/2 ulCodePageRange1 bits of the kept character sets.
constexpr FT_ULong kCodePage932 = 1UL << 17;
constexpr FT_ULong kCodePage1252 = 1UL << 0;
constexpr FT_ULong kCodePageMacRoman = 1UL << 29;

// PANOSE family kinds and the Latin text proportion "monospaced".
constexpr uint8_t kPanoseLatinText = 2;
constexpr uint8_t kPanoseLatinHandWritten = 3;
constexpr uint8_t kPanoseLatinDecorative = 4;
constexpr uint8_t kPanoseMonospaced = 9;

uint8_t FamilyBits(const uint8_t* panose, bool monospaced) {
  if (monospaced) return kFamilyModern;
  switch (panose[0]) {
    case kPanoseLatinText: {
      const uint8_t serif = panose[1];
      if (serif >= 2 && serif <= 10) return kFamilyRoman;   // cove .. triangle
      if (serif >= 11 && serif <= 15) return kFamilySwiss;  // sans serif kinds
      return 0;
    }
    case kPanoseLatinHandWritten:
      return kFamilyScript;
    case kPanoseLatinDecorative:
      return kFamilyDecorative;
    default:
      return 0;
  }
}

int32_t RoundFixed(FT_Fixed value) {
  const int64_t v = value;
  return static_cast<int32_t>(v >= 0 ? (v + 0x8000) >> 16 : -((-v + 0x8000) >> 16));
}

}  // namespace

int32_t ScaleToThousandths(int64_t value, int64_t unitsPerEm) {
  if (unitsPerEm <= 0) return 0;
  const int64_t scaled = value * 1000;
  const int64_t half = unitsPerEm / 2;
  const int64_t rounded = scaled >= 0 ? (scaled + half) / unitsPerEm : -((-scaled + half) / unitsPerEm);
  return static_cast<int32_t>(rounded);
}

bool ReadFaceRecord(const std::string& file, int index, TrueTypeInfo& record) {
  OpenFace open(file, index);
  FT_Face face = open.get();
  if (!face || !FT_IS_SFNT(face)) return false;

  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* head = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face, FT_SFNT_HEAD));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  // Code page bits exist from OS/2 version 1 on; FreeType marks a missing table 0xFFFF.
  if (!os2 || os2->version == 0xFFFF || os2->version < 1 || !head || !hhea) return false;
  const int64_t upem = head->Units_Per_EM;
  if (upem <= 0) return false;

  const FT_ULong codePages = os2->ulCodePageRange1;
  if (codePages & kCodePage932) {
    record.lfCharSet = kShiftJisCharSet;
  } else if (codePages & kCodePage1252) {
    record.lfCharSet = kAnsiCharSet;
  } else if (codePages & kCodePageMacRoman) {
    record.lfCharSet = kMacCharSet;
  } else {
    return false;
  }
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return false;

  for (int i = 0; i < 10; ++i) record.otmPanoseNumber[i] = os2->panose[i];
  const bool fixedByPost = post && post->isFixedPitch != 0;
  const bool fixedByPanose =
      record.otmPanoseNumber[0] == kPanoseLatinText && record.otmPanoseNumber[3] == kPanoseMonospaced;
  const bool monospaced = fixedByPost || fixedByPanose;
  const uint8_t family = FamilyBits(record.otmPanoseNumber, monospaced);
  record.lfPitchAndFamily = static_cast<uint8_t>((monospaced ? kFixedPitch : kVariablePitch) | family);
  record.tmPitchAndFamily =
      static_cast<uint8_t>((monospaced ? 0 : kTmProportional) | kTmVector | kTmTrueType | family);

  record.otmrcFontBox.left = ScaleToThousandths(head->xMin, upem);
  record.otmrcFontBox.top = ScaleToThousandths(head->yMax, upem);
  record.otmrcFontBox.right = ScaleToThousandths(head->xMax, upem);
  record.otmrcFontBox.bottom = ScaleToThousandths(head->yMin, upem);
  record.otmMacAscent = ScaleToThousandths(hhea->Ascender, upem);
  record.otmMacDescent = ScaleToThousandths(hhea->Descender, upem);
  record.otmItalicAngle = post ? RoundFixed(post->italicAngle) : 0;

  const SingleByteTable& table = *SingleByteCodePage(record.lfCharSet);
  int first = -1;
  int last = -1;
  for (int code = 0; code < 256; ++code) {
    if (table[code] == kNoCharacter || FT_Get_Char_Index(face, table[code]) == 0) continue;
    if (first < 0) first = code;
    last = code;
  }
  record.tmFirstChar = static_cast<uint8_t>(first < 0 ? 0 : first);
  record.tmLastChar = static_cast<uint8_t>(last < 0 ? 0 : last);
  record.SetWidthSource(file, index);
  return true;
}

std::vector<int32_t> ReadFaceAdvances(const std::string& file, int index, uint8_t charSet,
                                      uint8_t first, uint8_t last) {
  std::vector<int32_t> advances;
  const SingleByteTable* table = SingleByteCodePage(charSet);
  OpenFace open(file, index);
  FT_Face face = open.get();
  if (!table || !face || first > last || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    return advances;
  }
  const int64_t upem = face->units_per_EM;
  advances.reserve(static_cast<size_t>(last - first) + 1);
  for (int code = first; code <= last; ++code) {
    const char32_t u = (*table)[code];
    const FT_UInt glyph = u == kNoCharacter ? 0 : FT_Get_Char_Index(face, u);
    FT_Fixed advance = 0;
    if (glyph == 0 || FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) advance = 0;
    advances.push_back(ScaleToThousandths(advance, upem));
  }
  return advances;
}

}  // namespace koyo
