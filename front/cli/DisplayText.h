// Turning the raw bytes of font names and file paths into text that is safe to
// print and valid UTF-8, and quoting that text for JSON.
//
// A font name is shown decoded when all of it is valid Shift-JIS (code page
// 932) text, a path when all of it is valid UTF-8 without control characters.
// Otherwise every byte below 0x20, 0x7F and above, and '#' itself, is written
// as '#' and two upper-case hexadecimal digits, as in PDF name syntax; the
// other bytes stay as they are.
#pragma once
#include <string>
#include <string_view>

namespace kanafix::cli {

std::string FontNameText(std::string_view bytes);
std::string PathText(std::string_view bytes);

// The byte escape described above, applied unconditionally.
std::string EscapeBytes(std::string_view bytes);

// text (UTF-8) as a JSON string literal, quotes included: every character
// outside printable ASCII is a \u escape (a surrogate pair above U+FFFF), so
// the literal is plain ASCII. A byte that does not start valid UTF-8 becomes
// U+FFFD.
std::string JsonString(std::string_view text);

}  // namespace kanafix::cli
