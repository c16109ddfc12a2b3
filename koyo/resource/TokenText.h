// Small decoders for the tokens of resource files: split a line into tokens,
// read PDF literal strings, names and hexadecimal strings, and locale-free
// integers.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace koyo {

// Splits a line at the given separator characters; empty tokens are dropped.
std::vector<std::string_view> SplitTokens(std::string_view line, std::string_view separators);

// "(text)" with PDF escapes to its bytes; a token without parentheses is taken
// as it stands.
std::string DecodeLiteralString(std::string_view token);

// "/Name#20x" to its bytes (without the slash); a token without a slash is
// taken as it stands.
std::string DecodeName(std::string_view token);

// "<8140>" to its bytes; an odd last digit counts as followed by 0. False when
// the token is not a complete hexadecimal string.
bool DecodeHexString(std::string_view token, std::string& out);

// The integer at the start of text (after blanks, optional sign, digits), like
// C's atoi but independent of the locale and saturated to the int32 range;
// 0 when there is none. "-12.5" gives -12.
int32_t LeadingInteger(std::string_view text);

// Clamped to the 16-bit signed and unsigned ranges.
int16_t ToInt16(int32_t value);
uint16_t ToUInt16(int32_t value);

}  // namespace koyo
