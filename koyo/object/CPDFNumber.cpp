#include "koyo/object/CPDFNumber.h"

#include <cmath>
#include <limits>

namespace koyo {

int32_t CPDFNumber::Truncate(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

bool CPDFNumber::CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                          ObjectTable* sourceDoc, bool overwrite) const {
  auto* t = dynamic_cast<CPDFNumber*>(target);
  if (!t || !CPDFObject::CopyInto(t, context, targetDoc, sourceDoc, overwrite)) return false;
  t->int_ = int_;
  t->real_ = real_;
  return true;
}

bool CPDFNumber::Adopt(ObjectTable*, CPDFObject* other) {
  auto* o = dynamic_cast<CPDFNumber*>(other);
  if (!o) return false;
  int_ = o->int_;
  real_ = o->real_;
  return true;
}

}  // namespace koyo
