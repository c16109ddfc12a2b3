// Writing values as PDF object syntax, byte for byte reproducible: numbers in
// the library's real format, names and strings through fixed byte tables,
// dictionaries one entry per line in key order, CR LF line ends. With an
// object key, strings and stream data are encrypted in copies (the values
// themselves never change).
#pragma once
#include <cstdint>

namespace koyo {

class CPDFAtom;
class CPDFObjRef;
class CPDFStream;
class StreamSave;
struct ObjectKey;

// Writes any atom by its type code (typed subclasses write as the value class
// they derive from). A null atom writes "null". Throws CPDFException only when
// a stream's bytes cannot be copied from its file.
void WriteObject(StreamSave& out, const CPDFAtom* atom, const ObjectKey* key);

// "n g R".
void WriteRef(StreamSave& out, const CPDFObjRef& ref);

// The dictionary, CR LF, "stream" CR LF, the bytes, CR LF unless the bytes are
// empty or end with CR or LF, "endstream". Bytes still in the document's file
// are copied from there unchanged (module "CPDFStream", method "Serialize",
// Runtime Library Error when the file cannot be read).
void WriteStream(StreamSave& out, const CPDFStream& stream, const ObjectKey* key);

// The encoders: name bytes after the slash, a literal string body (without the
// parentheses) and hexadecimal digits, appended to out.
void EncodeNameBytes(StreamSave& out, const char* bytes, int64_t length);
void EncodeLiteralBytes(StreamSave& out, const char* bytes, int64_t length);
void EncodeHexBytes(StreamSave& out, const char* bytes, int64_t length);

}  // namespace koyo
