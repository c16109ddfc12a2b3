// The metrics record of one installed TrueType face (or of a built-in substitute)
// as the font code reads it: character set, pitch and family bits, code range,
// PANOSE, font box, ascent, descent, italic angle and per-code widths. Every
// length is in thousandths of an em.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace koyo {

// Widths of one code: the advance width is abcA + abcB + abcC.
struct ABC {
  int32_t abcA = 0;
  int32_t abcB = 0;
  int32_t abcC = 0;
};

struct FontBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Bits of lfPitchAndFamily.
inline constexpr uint8_t kFixedPitch = 0x01;
inline constexpr uint8_t kVariablePitch = 0x02;
inline constexpr uint8_t kFamilyRoman = 0x10;
inline constexpr uint8_t kFamilySwiss = 0x20;
inline constexpr uint8_t kFamilyModern = 0x30;
inline constexpr uint8_t kFamilyScript = 0x40;
inline constexpr uint8_t kFamilyDecorative = 0x50;
// Bits of tmPitchAndFamily (bit 0 set means proportional).
inline constexpr uint8_t kTmProportional = 0x01;
inline constexpr uint8_t kTmVector = 0x02;
inline constexpr uint8_t kTmTrueType = 0x04;

class TrueTypeInfo {
public:
  // 128 Shift-JIS, 0 ANSI, 77 Mac.
  uint8_t lfCharSet = 0;
  // Bit 0: fixed pitch; bits 4-7: family (roman, swiss, modern, script, decorative).
  uint8_t lfPitchAndFamily = 0;
  // The face's full name in the host's Shift-JIS bytes.
  std::string fullName;
  // Lowest and highest single-byte code the face maps in its character set's code page.
  uint8_t tmFirstChar = 0;
  uint8_t tmLastChar = 0;
  // Bit 0 set: proportional; clear: monospaced.
  uint8_t tmPitchAndFamily = 0;
  uint8_t otmPanoseNumber[10] = {};
  // Degrees counter-clockwise from vertical, rounded to an integer.
  int32_t otmItalicAngle = 0;
  FontBox otmrcFontBox;
  int32_t otmMacAscent = 0;
  int32_t otmMacDescent = 0;

  // Names the face the widths are read from. A record without one (a built-in
  // substitute) has zero widths.
  void SetWidthSource(std::string file, int index) {
    fontFile_ = std::move(file);
    fontIndex_ = index;
  }

  // The widths of `code`, or null when it lies outside tmFirstChar..tmLastChar.
  // The first call in range reads the widths of the whole range from the font file
  // once; codes the face does not map have width zero. When the font file cannot
  // be read the result is null for every code too, and the next call tries
  // again: widths of zero would pass for real ones. Not synchronised: concurrent
  // calls on one record are not supported.
  const ABC* GetCharABC(int code);

  // Whether the widths have been read (for tests and diagnostics).
  bool HasWidths() const { return widthsRead_; }

private:
  std::string fontFile_;
  int fontIndex_ = 0;
  std::vector<ABC> widths_;
  bool widthsRead_ = false;
};

}  // namespace koyo
