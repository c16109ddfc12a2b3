// What the values need from a document: loading, registering, deleting,
// releasing and renumbering indirect objects. The document implements it; the
// value operations take it as an optional argument (null: no document).
#pragma once
#include "koyo/object/ObjRefMap.h"

namespace koyo {

class CPDFObject;
class CPDFObjRef;

class ObjectTable {
public:
  virtual ~ObjectTable() = default;

  // Forgets the last failure recorded by the document.
  virtual void ClearError() = 0;
  // The indirect object named by ref, loaded on first use; owned by the
  // document. Null when it cannot be loaded.
  virtual CPDFObject* LoadObj(const CPDFObjRef& ref) = 0;
  // Makes obj an indirect object, under proposed when given and usable, else
  // under a new number; the reference used goes to out. On success the
  // document owns obj; on failure the caller still does.
  virtual bool RegistObj(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) = 0;
  // Removes the object from the document (its number becomes free).
  virtual bool DeleteObj(const CPDFObjRef& ref) = 0;
  // Unloads the object. Unforced, an object whose release flag is cleared
  // stays (which is not a failure).
  virtual bool ReleaseObj(const CPDFObjRef& ref, bool force) = 0;
  // Gives the object its place in the linearized numbering.
  virtual bool LinearizeObj(const CPDFObjRef& ref) = 0;

  // The map of objects already copied out of this document, when a copy
  // between documents is running; null otherwise.
  virtual ObjRefMap* CopyMap() { return nullptr; }
  // Old to new references while the document is being linearized; else null.
  virtual ObjRefMap* RenumberMap() { return nullptr; }
};

}  // namespace koyo
