// Conversions between Shift-JIS (the host encoding) or EUC-JP text and UCS-2,
// through the built-in pair tables of code page 932.
#pragma once
#include <cstddef>
#include <cstdint>

namespace koyo {

// Shift-JIS bytes to UCS-2 units. A byte 81-9F, E0-EF or FA-FC followed by a
// byte 40-7E or 80-FC is one two-byte code; other bytes stand alone and only
// 01-0D, 10-1A, 1C-7F and A1-DF are converted. Codes the table lacks are
// skipped. Stops at a 0 byte or after length bytes and writes at most limit
// units; when it stopped at a 0 byte and room remains, a 0 unit follows the
// output. Returns the number of units (without that 0).
size_t SJISToUnicode(uint16_t* out, size_t limit, const unsigned char* text, size_t length);

// UCS-2 units to Shift-JIS bytes, until a 0 unit, length units or a full
// output (limit bytes; a two-byte code needs two free bytes). Units the table
// lacks are skipped. When the text ended at a 0 unit and room remains, a 0 byte
// follows the output. Returns the number of bytes (without that 0).
size_t UnicodeToSJIS(unsigned char* out, size_t limit, const uint16_t* text, size_t length);

// The same for EUC-JP: A1-FE followed by A1-FE, and 8E followed by A1-DF, are
// two-byte codes; 8F starts a three-byte code, which the table never holds.
size_t EUCToUnicode(uint16_t* out, size_t limit, const unsigned char* text, size_t length);
size_t UnicodeToEUC(unsigned char* out, size_t limit, const uint16_t* text, size_t length);

// Single lookups; false when the table has no pair for the value.
bool LookupSJISToUnicode(uint16_t code, uint16_t& unicode);
bool LookupUnicodeToSJIS(uint16_t unicode, uint16_t& code);
bool LookupEUCToUnicode(uint16_t code, uint16_t& unicode);
bool LookupUnicodeToEUC(uint16_t unicode, uint16_t& code);

}  // namespace koyo
