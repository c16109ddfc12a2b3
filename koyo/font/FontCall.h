// How font operations meet their document: the font services reached through
// it, the boundary that keeps a failure in the document's error record, and
// small readers of dictionary entries that raise the failure records of the
// font code.
#pragma once
#include <cstdint>

#include "koyo/object/Boundary.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/ObjectTable.h"
#include "koyo/font/FontServices.h"

namespace koyo {

// The services of doc's library; null without a document or library.
inline FontServices* ServicesOf(ObjectTable* doc) { return doc ? doc->Fonts() : nullptr; }

// The boundary of a public font operation: clears doc's error record, runs
// body and returns its result; a failure raised inside ends in the record
// (the first one wins, see Boundary.h) and gives fallback. Without a record
// the failure is dropped, the result is the same.
template <class T, class F>
T FontBoundary(ObjectTable* doc, const char* module, const char* method, T fallback, F&& body) noexcept {
  CPDFException scratch;
  CPDFException* record = doc ? doc->ErrorRecord() : nullptr;
  if (doc) doc->ClearError();
  return BoundaryValue<T>(record ? *record : scratch, module, method, fallback, body);
}

// The integer value of a number; false when value is no number.
bool NumberValue(const CPDFObject* value, int32_t& out);
// The number under key resolved through doc, or fallback when key is absent
// or holds no number.
int32_t NumberOr(ObjectTable* doc, const CPDFDict& dict, const char* key, int32_t fallback);

// Empties array (objects its elements refer to stay), telling doc first when it is an indirect object (ref valid)
// so that the refilled array is saved; raises (module, method, 5, factor)
// when doc refuses.
void EmptyForRewrite(ObjectTable* doc, CPDFArray& array, const CPDFObjRef& ref, const char* module,
                     const char* method, const char* factor);

// Appends value to array (which owns it from then on); a refused append
// raises an internal failure of module and method.
void AppendTo(ObjectTable* doc, CPDFArray& array, CPDFObject* value, const char* module, const char* method);

}  // namespace koyo
