// What the values need from a document: loading, registering, deleting,
// releasing and renumbering indirect objects. The document implements it; the
// value operations take it as an optional argument (null: no document).
#pragma once
#include "koyo/object/ObjRefMap.h"

namespace koyo {

class CPDFDict;
class CPDFException;
class CPDFObject;
class CPDFObjRef;
class FontServices;
struct ResourceMakers;

class ObjectTable {
public:
  virtual ~ObjectTable() = default;

  // Forgets the last failure recorded by the document.
  virtual void ClearError() = 0;
  // The indirect object named by ref, loaded on first use; owned by the
  // document. Null when it cannot be loaded.
  virtual CPDFObject* LoadObj(const CPDFObjRef& ref) = 0;
  // Makes obj an indirect object. With a valid proposed reference it takes the
  // place of the object now loaded under that reference (which is destroyed);
  // otherwise it gets a new number. The reference used goes to out. On success
  // the document owns obj; on failure the caller still does.
  virtual bool RegistObj(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) = 0;
  // Marks a loaded object as changed: it moves into the update section and is
  // written by the next save.
  virtual bool UpdateObj(const CPDFObjRef& ref) = 0;
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

  // Realize options of the library that opened the document (bit 1: realize
  // the minimum, bit 2: leave resources as read).
  virtual int RealizeOptions() const { return 0; }
  // The makers that turn resource dictionaries' entries into typed resources
  // (fonts and the like); null when the document has none.
  virtual const ResourceMakers* Makers() const { return nullptr; }
  // The document's error record, where operations of the typed wrappers (the
  // fonts, for example) keep their failures; null when the table has none.
  virtual CPDFException* ErrorRecord() { return nullptr; }
  // The library's font services (installed fonts, CMaps, encodings, metrics)
  // that fonts of this document measure with; null when there are none.
  virtual FontServices* Fonts() const { return nullptr; }
  // The file the document was read from: stream bytes stay there until needed.
  // Null when there is none (streams then keep their bytes in memory).
  virtual const char* FilePath() const { return nullptr; }
  // True while the document writes itself out: streams read then keep their
  // dictionary entries as read.
  virtual bool IsFlushing() const { return false; }
  // A new typed FileSpec dictionary that has adopted the contents of value (the
  // F entry of a stream just read), or null when value is not one or no typed
  // class is available. Owned by the caller.
  virtual CPDFObject* MakeFileSpec(CPDFDict& value) {
    (void)value;
    return nullptr;
  }
};

}  // namespace koyo
