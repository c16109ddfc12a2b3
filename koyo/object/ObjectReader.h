// Reading PDF object syntax from an input byte stream into values. Every
// function takes the document being read (may be null) and, for values that
// hold strings, the object key of the enclosing indirect object (null when
// nothing is encrypted). Syntax errors are thrown as CPDFException (Invalid
// Format: "ioerror", "invalidtoken: ...", "typecheck: ..."), naming the class
// and operation that detected them; a failed read leaves nothing behind.
#pragma once
#include <cstdint>
#include <memory>

namespace koyo {

class CPDFArray;
class CPDFBool;
class CPDFDict;
class CPDFName;
class CPDFNull;
class CPDFNumber;
class CPDFObjRef;
class CPDFObject;
class CPDFString;
class ObjectTable;
class StreamLoad;
struct ObjectKey;

// Arrays and dictionaries nested deeper than this fail to read
// ("invalidtoken: [" or "invalidtoken: <<").
inline constexpr int32_t kMaxObjectNesting = 256;

// The next object after whitespace and comments, or null at the end of the input
// or when the next byte starts no object (the input is then at that byte).
// References are not read here: see ReadRef.
std::unique_ptr<CPDFObject> ReadObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key);

// A reference "n g R" when the next three tokens form one; otherwise null with
// the input where it was. Never throws.
std::unique_ptr<CPDFObjRef> ReadRef(ObjectTable* doc, StreamLoad& in);

// Class readers: make a new value and read it.
// A dictionary; also a string when the input starts with a single "<", and a
// stream when the dictionary is followed by "stream".
std::unique_ptr<CPDFObject> ReadDictObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key);
// A string; also a dictionary (or stream) when the input starts with "<<".
std::unique_ptr<CPDFObject> ReadStringObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key);
std::unique_ptr<CPDFArray> ReadArrayObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key);
std::unique_ptr<CPDFName> ReadNameObject(ObjectTable* doc, StreamLoad& in);
std::unique_ptr<CPDFNumber> ReadNumberObject(ObjectTable* doc, StreamLoad& in);
std::unique_ptr<CPDFBool> ReadBoolObject(ObjectTable* doc, StreamLoad& in);
std::unique_ptr<CPDFNull> ReadNullObject(ObjectTable* doc, StreamLoad& in);

// Reading into an existing value (its old content is replaced or, for
// containers, added to). Each marks the value defined first.
void ReadDict(CPDFDict& dict, ObjectTable* doc, StreamLoad& in, const ObjectKey* key);
void ReadArray(CPDFArray& array, ObjectTable* doc, StreamLoad& in, const ObjectKey* key);
void ReadName(CPDFName& name, StreamLoad& in);
void ReadString(CPDFString& string, StreamLoad& in, const ObjectKey* key);
void ReadNumber(CPDFNumber& number, StreamLoad& in);
void ReadBool(CPDFBool& value, StreamLoad& in);
void ReadNull(CPDFNull& value, StreamLoad& in);

}  // namespace koyo
