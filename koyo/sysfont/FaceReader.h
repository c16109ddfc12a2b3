// Reading one face of an installed font file with FreeType: the record fields of
// the catalogue and the advance widths of a range of single-byte codes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "koyo/sysfont/TrueTypeInfo.h"

namespace koyo {

// `value` font units at `unitsPerEm` units per em, in thousandths of an em, rounded
// to the nearest integer (halves away from zero).
int32_t ScaleToThousandths(int64_t value, int64_t unitsPerEm);

// Fills every field of `record` except the widths from face `index` of `file`.
// Returns false, leaving `record` unspecified, when the face is not kept: the file
// cannot be read, the face is not an sfnt (TrueType or OpenType) face, it has no
// Unicode character map, or its OS/2 code page bits name none of Shift-JIS, ANSI
// and Mac Roman. Of several such bits Shift-JIS counts first, then ANSI, then Mac.
bool ReadFaceRecord(const std::string& file, int index, TrueTypeInfo& record);

// The advance widths (thousandths of an em) of the codes first..last of the
// character set's code page, one per code, zero for a code the face does not map.
// Empty when the face cannot be read.
std::vector<int32_t> ReadFaceAdvances(const std::string& file, int index, uint8_t charSet,
                                      uint8_t first, uint8_t last);

}  // namespace koyo
