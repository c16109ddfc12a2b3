// A single-byte encoding: each code to its glyph name and each glyph name to
// its code. Holds a named encoding or the differences of a font's encoding.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace koyo {

class EncodingTable {
public:
  // The name of code, or (when the table names no glyph there) the synthetic
  // name "G<two hex digits>", in which case the result tells whether the table
  // knows that synthetic name.
  bool GetName(uint8_t code, std::string& name) const;
  // The code of name; a synthetic name "Gxx" the table does not know stands for
  // code 0xxx. False for any other name.
  bool GetCode(std::string_view name, uint8_t& code) const;
  // Enters or replaces the name of code.
  void Set(uint8_t code, const std::string& name);
  // Fills the table with one of StandardEncoding, WinAnsiEncoding,
  // MacRomanEncoding, MacExpertEncoding and PDFDocEncoding; false otherwise.
  bool LoadByName(std::string_view name);

  size_t Size() const { return codeToName_.size(); }

  // "G" and the code in two upper-case hexadecimal digits.
  static std::string SyntheticName(uint8_t code);

private:
  std::map<uint8_t, std::string> codeToName_;
  std::map<std::string, uint8_t, std::less<>> nameToCode_;
};

}  // namespace koyo
