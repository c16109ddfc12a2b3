#include "koyo/object/ObjectWriter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFBool.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/object/CPDFString.h"
#include "koyo/object/FileLoad.h"
#include "koyo/object/ObjectCipher.h"
#include "koyo/object/ObjectTable.h"
#include "koyo/object/StreamSave.h"

namespace koyo {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Bytes that a name holds as themselves: 0x21..0x7E except # % ( ) / < > [ ] { }.
constexpr bool IsPlainNameByte(unsigned char c) {
  if (c < 0x21 || c > 0x7E) return false;
  return std::strchr("#%()/<>[]{}", c) == nullptr;
}

// Chunked writes through a small local buffer.
class Encoder {
public:
  explicit Encoder(StreamSave& out) : out_(out) {}
  ~Encoder() { Flush(); }
  void Put(char c) {
    if (used_ == sizeof buf_) Flush();
    buf_[used_++] = c;
  }
  void Flush() {
    if (used_) out_.Write(buf_, used_);
    used_ = 0;
  }

private:
  StreamSave& out_;
  char buf_[512];
  int32_t used_ = 0;
};

// The bytes to write for a string: a copy encrypted with a fresh cipher when a
// key is given, else the string's own bytes.
const char* StringBytes(const CPDFString& string, const ObjectKey* key, std::string& scratch) {
  if (!key) return string.c_str();
  scratch.assign(string.c_str(), static_cast<size_t>(string.Length()));
  std::unique_ptr<ObjectCipher> cipher = key->NewCipher();
  if (!cipher) ThrowPDF("CPDFString", "Serialize", CPDFException::kInternal, "ObjectCipher::SetKey()");
  if (!scratch.empty()) cipher->Crypt(reinterpret_cast<uint8_t*>(scratch.data()), static_cast<int64_t>(scratch.size()));
  return scratch.data();
}

void WriteString(StreamSave& out, const CPDFString& string, bool literal, const ObjectKey* key) {
  std::string scratch;
  const char* bytes = StringBytes(string, key, scratch);
  if (literal) {
    out.Put('(');
    EncodeLiteralBytes(out, bytes, string.Length());
    out.Put(')');
  } else {
    out.Put('<');
    EncodeHexBytes(out, bytes, string.Length());
    out.Put('>');
  }
}

void WriteDictBody(StreamSave& out, const CPDFDict& dict, const ObjectKey* key) {
  out.WriteString("<<").Apply(EndLine);
  for (auto it = dict.begin(); it != dict.end(); ++it) {
    out.Put('/');
    EncodeNameBytes(out, it->key.c_str(), it->key.Length());
    out.Put(' ');
    WriteObject(out, it->value, key);
    out.Apply(EndLine);
  }
  out.WriteString(">>");
}

void WriteNumber(StreamSave& out, const CPDFNumber& number) {
  switch (number.GetType()) {
    case CPDFObject::kInt:
      out.WriteInt(number.GetInt());
      break;
    case CPDFObject::kReal:
      out.WriteReal(number.GetReal());
      break;
    default:
      if (number.GetInt() >= -32767 && number.GetInt() <= 32767) out.WriteReal(number.GetReal());
      else out.WriteInt(number.GetInt());
      break;
  }
}

}  // namespace

void EncodeNameBytes(StreamSave& out, const char* bytes, int64_t length) {
  Encoder enc(out);
  for (int64_t i = 0; bytes && i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (IsPlainNameByte(c)) {
      enc.Put(static_cast<char>(c));
    } else {
      enc.Put('#');
      enc.Put(kHexDigits[c >> 4]);
      enc.Put(kHexDigits[c & 15]);
    }
  }
}

void EncodeLiteralBytes(StreamSave& out, const char* bytes, int64_t length) {
  Encoder enc(out);
  for (int64_t i = 0; bytes && i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    char escape = 0;
    switch (c) {
      case 0x08: escape = 'b'; break;
      case 0x09: escape = 't'; break;
      case 0x0A: escape = 'n'; break;
      case 0x0C: escape = 'f'; break;
      case 0x0D: escape = 'r'; break;
      case '(':
      case ')':
      case '\\': escape = static_cast<char>(c); break;
      default: break;
    }
    if (escape) {
      enc.Put('\\');
      enc.Put(escape);
    } else if (c < 0x20 || c >= 0x7F) {
      enc.Put('\\');
      enc.Put(static_cast<char>('0' + (c >> 6)));
      enc.Put(static_cast<char>('0' + ((c >> 3) & 7)));
      enc.Put(static_cast<char>('0' + (c & 7)));
    } else {
      enc.Put(static_cast<char>(c));
    }
  }
}

void EncodeHexBytes(StreamSave& out, const char* bytes, int64_t length) {
  Encoder enc(out);
  for (int64_t i = 0; bytes && i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    enc.Put(kHexDigits[c >> 4]);
    enc.Put(kHexDigits[c & 15]);
  }
}

void WriteRef(StreamSave& out, const CPDFObjRef& ref) {
  out.WriteInt(ref.GetObjNum()).Put(' ').WriteInt(ref.GetGenNum()).WriteString(" R");
}

void WriteObject(StreamSave& out, const CPDFAtom* atom, const ObjectKey* key) {
  if (!atom) {
    out.WriteString("null");
    return;
  }
  if (atom->IsReference()) {
    WriteRef(out, *static_cast<const CPDFObjRef*>(atom));
    return;
  }
  const auto* obj = static_cast<const CPDFObject*>(atom);
  switch (obj->GetType()) {
    case CPDFObject::kBool:
      out.WriteBool(static_cast<const CPDFBool*>(obj)->GetValue());
      break;
    case CPDFObject::kNumber:
    case CPDFObject::kInt:
    case CPDFObject::kReal:
      WriteNumber(out, *static_cast<const CPDFNumber*>(obj));
      break;
    case CPDFObject::kString: {
      const auto* string = static_cast<const CPDFString*>(obj);
      WriteString(out, *string, string->IsLiteral(), key);
      break;
    }
    case CPDFObject::kText: {
      // Unicode text (marked FE FF) goes out as hexadecimal, other text literally.
      const auto* text = static_cast<const CPDFString*>(obj);
      const auto* b = reinterpret_cast<const unsigned char*>(text->c_str());
      bool unicode = text->Length() >= 2 && b[0] == 0xFE && b[1] == 0xFF;
      WriteString(out, *text, !unicode, key);
      break;
    }
    case CPDFObject::kName: {
      const auto* name = static_cast<const CPDFName*>(obj);
      out.Put('/');
      EncodeNameBytes(out, name->c_str(), name->Length());
      break;
    }
    case CPDFObject::kArray: {
      const auto* array = static_cast<const CPDFArray*>(obj);
      out.Put('[');
      for (int32_t i = 0; i < array->Count(); ++i) {
        if (i) out.Put(' ');
        WriteObject(out, array->GetAt(i), key);
      }
      out.Put(']');
      break;
    }
    case CPDFObject::kDict:
      WriteDictBody(out, *static_cast<const CPDFDict*>(obj), key);
      break;
    case CPDFObject::kStream:
      WriteStream(out, *static_cast<const CPDFStream*>(obj), key);
      break;
    case CPDFObject::kNull:
    default:
      out.WriteString("null");
      break;
  }
}

void WriteStream(StreamSave& out, const CPDFStream& stream, const ObjectKey* key) {
  WriteDictBody(out, stream, key);
  out.Apply(EndLine).WriteString("stream\r\n");
  const int64_t block = CPDFStream::kBlockSize;
  char last = 0;
  int64_t written = 0;
  if (!key && stream.InFile()) {
    // Copied from the document's file as it stands there, line end included.
    const char* path = stream.GetDoc() ? stream.GetDoc()->FilePath() : nullptr;
    FileLoad file;
    if (!path || !file.Open(path, "rb", stream.GetFileOffset(), stream.GetFileLength()) ||
        file.Size() < stream.GetFileLength()) {
      ThrowPDF("CPDFStream", "Serialize", CPDFException::kRuntimeLibrary, path ? nullptr : "no file");
    }
    std::vector<char> buf(static_cast<size_t>(block));
    for (int64_t done = 0; done < stream.GetFileLength();) {
      int64_t want = std::min(block, stream.GetFileLength() - done);
      if (file.ReadBlock(buf.data(), want) != want) {
        ThrowPDF("CPDFStream", "Serialize", CPDFException::kRuntimeLibrary, nullptr);
      }
      out.Write(buf.data(), want);
      done += want;
    }
    out.WriteString("endstream");
    return;
  }
  const char* data = stream.GetData();  // null: the bytes could not be loaded
  const int64_t size = data ? stream.GetSize() : 0;
  if (key && size > 0) {
    std::unique_ptr<ObjectCipher> cipher = key->NewCipher();
    if (!cipher) ThrowPDF("CPDFStream", "Serialize", CPDFException::kInternal, "ObjectCipher::SetKey()");
    std::vector<char> buf(static_cast<size_t>(block));
    for (int64_t done = 0; done < size;) {
      int64_t n = std::min(block, size - done);
      std::memcpy(buf.data(), data + done, static_cast<size_t>(n));
      cipher->Crypt(reinterpret_cast<uint8_t*>(buf.data()), n);
      out.Write(buf.data(), n);
      last = buf[static_cast<size_t>(n - 1)];
      done += n;
    }
    written = size;
  } else if (size > 0) {
    out.Write(data, size);
    last = data[size - 1];
    written = size;
  }
  if (written > 0 && last != '\r' && last != '\n') out.Apply(EndLine);
  out.WriteString("endstream");
}

}  // namespace koyo
