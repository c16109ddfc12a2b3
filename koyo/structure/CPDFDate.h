// A date string "D:YYYYMMDDHHmmSS..." (modification and creation dates).
#pragma once
#include <ctime>

#include "koyo/object/CPDFString.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFDate : public CPDFDataStruct, public CPDFString {
public:
  CPDFDate() = default;
  ~CPDFDate() override = default;

  // True for a string of at least two bytes beginning with "D:"; the rest is
  // not examined.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  // Replaces the text by the given time, "D:%04d%02d%02d%02d%02d%02d"
  // (year, month 1..12, day, hour, minute, second; no time zone).
  bool SetTime(const std::tm& time);
  // The same with the current local time.
  bool SetNow();

  KOYO_STRUCT_COPY(CPDFDate, CPDFString)
};

}  // namespace koyo
