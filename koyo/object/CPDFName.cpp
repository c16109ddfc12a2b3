#include "koyo/object/CPDFName.h"

namespace koyo {

bool CPDFName::CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                        ObjectTable* sourceDoc, bool overwrite) const {
  auto* t = dynamic_cast<CPDFName*>(target);
  if (!t || !CPDFObject::CopyInto(t, context, targetDoc, sourceDoc, overwrite)) return false;
  return t->Assign(c_str(), Length());
}

bool CPDFName::Adopt(ObjectTable*, CPDFObject* other) {
  auto* o = dynamic_cast<CPDFName*>(other);
  return o && Assign(o->c_str(), o->Length());
}

}  // namespace koyo
