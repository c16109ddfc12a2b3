// The checks of the standard security handler that need no password: whether
// an Encrypt dictionary may be typed as an encryption dictionary, and whether
// it is the 40-bit standard handler this library can use.
#pragma once

namespace koyo {

class CPDFDict;
class ObjectTable;

class StandardSecurity {
public:
  // Filter is a name; for "Standard", R is a number and O and U are strings;
  // in every case P is a number.
  static bool Verify(ObjectTable* doc, const CPDFDict& dict);
  // Filter is "Standard", R is 2 and V is present and 1.
  static bool IsStandard(ObjectTable* doc, const CPDFDict& dict);
};

}  // namespace koyo
