// The code pages behind the character sets the font catalogue keeps: the Unicode
// character of each single-byte code, and conversion of names into the host's
// Shift-JIS bytes.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace koyo {

// Character sets of the catalogue's records.
inline constexpr uint8_t kAnsiCharSet = 0;       // code page 1252
inline constexpr uint8_t kMacCharSet = 77;       // Mac Roman
inline constexpr uint8_t kShiftJisCharSet = 128; // code page 932

// Marks a byte that is no character by itself (a lead byte or an unassigned code).
inline constexpr char32_t kNoCharacter = 0xFFFFFFFF;

using SingleByteTable = std::array<char32_t, 256>;

// The Unicode character of every single-byte code of the character set's code
// page, or null for a character set the catalogue does not know. Built once per
// process. When the system cannot convert the code page, only the ASCII codes
// 0x00-0x7F (which all three code pages share) are filled.
const SingleByteTable* SingleByteCodePage(uint8_t charSet);

// The Shift-JIS (code page 932) bytes of a UTF-8 text, or nothing when some
// character has no such bytes or the text is not valid UTF-8.
std::optional<std::string> Utf8ToShiftJis(std::string_view utf8);

}  // namespace koyo
