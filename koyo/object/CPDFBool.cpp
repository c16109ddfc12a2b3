#include "koyo/object/CPDFBool.h"

namespace koyo {

bool CPDFBool::CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                        ObjectTable* sourceDoc, bool overwrite) const {
  auto* t = dynamic_cast<CPDFBool*>(target);
  if (!t || !CPDFObject::CopyInto(t, context, targetDoc, sourceDoc, overwrite)) return false;
  t->value_ = value_;
  return true;
}

bool CPDFBool::Adopt(ObjectTable*, CPDFObject* other) {
  auto* o = dynamic_cast<CPDFBool*>(other);
  if (!o) return false;
  value_ = o->value_;
  return true;
}

}  // namespace koyo
