// Byte classes of PDF object syntax: whitespace, delimiters and the bytes that
// end a name. Shared by the byte streams' tokenizer and the object reader.
#pragma once

namespace koyo {

// Tab, LF, FF, CR and space. NUL is not whitespace.
constexpr bool IsPdfWhite(int c) { return c == 9 || c == 10 || c == 12 || c == 13 || c == 32; }

// ( ) < > [ ] /  (braces are ordinary bytes).
constexpr bool IsPdfDelimiter(int c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '/';
}

// Whitespace, a delimiter or the comment mark.
constexpr bool IsNameTerminator(int c) { return IsPdfWhite(c) || IsPdfDelimiter(c) || c == '%'; }

constexpr bool IsDecimalDigit(int c) { return c >= '0' && c <= '9'; }

// The value of a hexadecimal digit of either case, or -1.
constexpr int HexDigitValue(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace koyo
