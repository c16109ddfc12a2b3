#include "koyo/object/CPDFString.h"

namespace koyo {

bool CPDFString::CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                          ObjectTable* sourceDoc, bool overwrite) const {
  auto* t = dynamic_cast<CPDFString*>(target);
  if (!t || !CPDFObject::CopyInto(t, context, targetDoc, sourceDoc, overwrite)) return false;
  t->literal_ = literal_;
  return t->Assign(c_str(), Length());
}

bool CPDFString::Adopt(ObjectTable*, CPDFObject* other) {
  auto* o = dynamic_cast<CPDFString*>(other);
  return o && Assign(o->c_str(), o->Length());
}

}  // namespace koyo
