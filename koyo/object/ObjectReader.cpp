#include "koyo/object/ObjectReader.h"

#include <cstring>
#include <string>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFBool.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNull.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/object/CPDFString.h"
#include "koyo/object/CharClass.h"
#include "koyo/object/NumberText.h"
#include "koyo/object/ObjectCipher.h"
#include "koyo/object/StreamLoad.h"

namespace koyo {
namespace {

constexpr const char* kSerialize = "Serialize";
constexpr const char* kSerializeObject = "SerializeObject";
// Room for the bytes of a name before they move to the heap.
constexpr size_t kLocalName = 128;

[[noreturn]] void FailIO(const char* module, const char* method = kSerialize) {
  ThrowPDF(module, method, CPDFException::kInvalidFormat, "ioerror");
}

[[noreturn]] void FailByte(const char* module, int c) {
  ThrowPDFFormat(module, kSerialize, CPDFException::kInvalidFormat, "invalidtoken: %c", static_cast<char>(c));
}

[[noreturn]] void FailToken(const char* module, const char* token) {
  ThrowPDFFormat(module, kSerialize, CPDFException::kInvalidFormat, "invalidtoken: %s", token);
}

// Moves the input back to an earlier position.
void Rewind(StreamLoad& in, int64_t mark) {
  int64_t now = in.Tell();
  if (now >= mark) in.Unget(now - mark);
  else in.Seek(mark);
}

// After a reader found nothing where a value was needed: the next token names
// the fault, or the input has ended.
[[noreturn]] void FailMissing(const char* module, StreamLoad& in) {
  char token[StreamLoad::kTokenSize];
  if (in.GetToken(token, sizeof token)) FailToken(module, token);
  FailIO(module);
}

// Decrypts (or encrypts: the same) bytes in place with a fresh cipher for key.
void CryptString(const char* module, const ObjectKey* key, TempString<char>& bytes) {
  if (!key) return;
  std::unique_ptr<ObjectCipher> cipher = key->NewCipher();
  if (!cipher) ThrowPDF(module, kSerialize, CPDFException::kInternal, "ObjectCipher::SetKey()");
  if (bytes.Length() > 0 &&
      cipher->Crypt(reinterpret_cast<uint8_t*>(bytes.Data()), bytes.Length()) < 0) {
    ThrowPDF(module, kSerialize, CPDFException::kInternal, "ObjectCipher::Crypt()");
  }
}

// Decodes the inner text of a literal string (without its parentheses).
void DecodeLiteral(const std::string& raw, std::string& out) {
  out.reserve(raw.size());
  size_t i = 0;
  const size_t n = raw.size();
  while (i < n) {
    char c = raw[i++];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (i >= n) break;  // cannot happen: the closing parenthesis would be escaped
    char e = raw[i++];
    switch (e) {
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case 'b': out.push_back('\b'); break;
      case 'f': out.push_back('\f'); break;
      case '(':
      case ')':
      case '\\': out.push_back(e); break;
      case '\n': break;  // line continuation
      case '\r':
        if (i < n && raw[i] == '\n') ++i;
        break;
      default:
        if (e >= '0' && e <= '7') {
          // One to three octal digits; the value is kept to its low 8 bits.
          int value = e - '0';
          for (int k = 0; k < 2 && i < n && raw[i] >= '0' && raw[i] <= '7'; ++k) value = value * 8 + (raw[i++] - '0');
          out.push_back(static_cast<char>(value & 0xFF));
        } else {
          out.push_back(e);  // an unknown escape stands for the byte itself
        }
        break;
    }
  }
}

class Reader {
public:
  Reader(ObjectTable* doc, StreamLoad& in, const ObjectKey* key) : doc_(doc), in_(in), key_(key) {}

  std::unique_ptr<CPDFObject> Object() {
    in_.SkipWhiteAndComments();
    int c = in_.Peek();
    if (c < 0) return nullptr;
    switch (c) {
      case '<': return DictObject();
      case '[': return ArrayObject();
      case '/': return NameObject();
      case '(': return StringObject();
      case 't':
      case 'f': return BoolObject();
      case 'n': return NullObject();
      default:
        if (IsDecimalDigit(c) || c == '+' || c == '-' || c == '.') return NumberObject();
        return nullptr;
    }
  }

  std::unique_ptr<CPDFObject> DictObject() {
    if (in_.Get() < 0 || in_.Peek() < 0) FailIO("CPDFDict", kSerializeObject);
    in_.Unget(1);
    if (SecondByte() != '<') return StringBody();
    auto dict = std::make_unique<CPDFDict>();
    Dict(*dict);
    in_.SkipWhiteAndComments();
    if (in_.Peek() == 's') return CPDFStream::ReadBody(doc_, in_, key_, std::move(dict));
    return dict;
  }

  std::unique_ptr<CPDFObject> StringObject() {
    if (in_.Get() < 0 || in_.Peek() < 0) FailIO("CPDFString", kSerializeObject);
    int second = in_.Peek();
    in_.Unget(1);
    if (second == '<' && in_.Peek() == '<') return DictObject();
    return StringBody();
  }

  std::unique_ptr<CPDFArray> ArrayObject() {
    auto array = std::make_unique<CPDFArray>();
    Array(*array);
    return array;
  }

  std::unique_ptr<CPDFName> NameObject() {
    auto name = std::make_unique<CPDFName>();
    Name(*name);
    return name;
  }

  std::unique_ptr<CPDFNumber> NumberObject() {
    auto number = std::make_unique<CPDFNumber>();
    Number(*number);
    return number;
  }

  std::unique_ptr<CPDFBool> BoolObject() {
    auto value = std::make_unique<CPDFBool>();
    Bool(*value);
    return value;
  }

  std::unique_ptr<CPDFNull> NullObject() {
    auto value = std::make_unique<CPDFNull>();
    Null(*value);
    return value;
  }

  void Dict(CPDFDict& dict) {
    static constexpr const char* kModule = "CPDFDict";
    dict.SetDefined(true);
    char two[3] = {0, 0, 0};
    if (in_.Read(two, 2) < 2) FailIO(kModule);
    if (two[0] != '<' || two[1] != '<') FailToken(kModule, two);
    Nesting nest(*this, kModule, "<<");
    for (;;) {
      in_.SkipWhiteAndComments();
      if (in_.Read(two, 2) < 2) FailIO(kModule);
      if (two[0] == '>' && two[1] == '>') return;
      in_.Unget(2);
      CPDFName key;
      if (two[0] == '/') {
        Name(key);
      } else {
        // Not a name: read it anyway, for the message.
        std::unique_ptr<CPDFObject> other = Object();
        if (!other) FailMissing(kModule, in_);
        ThrowPDFFormat(kModule, kSerialize, CPDFException::kInvalidFormat, "typecheck: %s", other->GetTypeName());
      }
      std::unique_ptr<CPDFAtom> value = Element(kModule);
      if (!dict.InsertTaking(key, value.release())) {
        ThrowPDF(kModule, kSerialize, CPDFException::kInternal, "CPDFDict::Insert()");
      }
    }
  }

  void Array(CPDFArray& array) {
    static constexpr const char* kModule = "CPDFArray";
    array.SetDefined(true);
    int c = in_.Get();
    if (c < 0) FailIO(kModule);
    if (c != '[') FailByte(kModule, c);
    Nesting nest(*this, kModule, "[");
    for (;;) {
      in_.SkipWhiteAndComments();
      c = in_.Peek();
      if (c < 0) FailIO(kModule);
      if (c == ']') {
        in_.Get();
        return;
      }
      std::unique_ptr<CPDFAtom> element = Element(kModule);
      if (!array.Push_Back(element.get())) {
        ThrowPDF(kModule, kSerialize, CPDFException::kInternal, "CPDFArray::Push_Back()");
      }
      element.release();
    }
  }

  void Name(CPDFName& name) {
    static constexpr const char* kModule = "CPDFName";
    name.SetDefined(true);
    int c = in_.Get();
    if (c < 0) FailIO(kModule);
    if (c != '/') FailByte(kModule, c);
    // Names are short: their bytes collect on the stack, and only a long one
    // moves to the heap.
    char local[kLocalName];
    std::string spill;
    size_t n = 0;
    for (;;) {
      c = in_.Peek();
      if (c < 0) FailIO(kModule);
      if (IsNameTerminator(c)) break;
      in_.Get();
      if (n < sizeof local) {
        local[n] = static_cast<char>(c);
      } else {
        if (spill.empty()) spill.assign(local, n);
        spill.push_back(static_cast<char>(c));
      }
      ++n;
    }
    if (n == 0) FailIO(kModule);
    char* raw = n <= sizeof local ? local : spill.data();
    // Decoded in place: a number sign and two digits give one byte.
    size_t out = 0;
    for (size_t i = 0; i < n; ++i) {
      if (raw[i] != '#') {
        raw[out++] = raw[i];
        continue;
      }
      if (i + 2 >= n) break;  // a # without two digits ends the name
      int hi = HexDigitValue(static_cast<unsigned char>(raw[i + 1]));
      int lo = HexDigitValue(static_cast<unsigned char>(raw[i + 2]));
      raw[out++] = static_cast<char>(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo));
      i += 2;
    }
    // A name that decodes to nothing ("/#" before a terminator) fails like the
    // lone slash: the empty name is written as a lone slash, which would not
    // read back.
    if (out == 0) FailIO(kModule);
    AssignBytes(name, kModule, raw, out);
  }

  void String(CPDFString& string) {
    static constexpr const char* kModule = "CPDFString";
    string.SetDefined(true);
    int c = in_.Get();
    if (c < 0) FailIO(kModule);
    std::string decoded;
    if (c == '(') {
      string.SetLiteral(true);
      std::string raw;
      int depth = 0;
      bool escaped = false;
      for (;;) {
        c = in_.Get();
        if (c < 0) FailIO(kModule);
        if (!escaped) {
          if (c == '(') {
            ++depth;
          } else if (c == ')') {
            if (depth == 0) break;
            --depth;
          }
        }
        escaped = !escaped && c == '\\';
        raw.push_back(static_cast<char>(c));
      }
      DecodeLiteral(raw, decoded);
    } else if (c == '<') {
      string.SetLiteral(false);
      int high = -1;
      for (;;) {
        c = in_.Get();
        if (c < 0) FailIO(kModule);
        if (c == '>') break;
        if (IsPdfWhite(c)) continue;
        int v = HexDigitValue(c);
        if (v < 0) FailByte(kModule, c);
        if (high < 0) {
          high = v;
        } else {
          decoded.push_back(static_cast<char>((high << 4) | v));
          high = -1;
        }
      }
      if (high >= 0) decoded.push_back(static_cast<char>(high << 4));
    } else {
      FailByte(kModule, c);
    }
    AssignBytes(string, kModule, decoded);
    CryptString(kModule, key_, string);
  }

  void Number(CPDFNumber& number) {
    number.SetDefined(true);
    char token[StreamLoad::kTokenSize];
    if (!in_.GetToken(token, sizeof token)) FailIO("CPDFNumber");
    number.SetBoth(TextToLong32(token), static_cast<float>(TextToDouble(token)));
  }

  void Bool(CPDFBool& value) {
    value.SetDefined(true);
    char token[StreamLoad::kTokenSize];
    if (!in_.GetToken(token, sizeof token)) FailIO("CPDFBool");
    if (std::strcmp(token, "true") == 0) value.SetValue(true);
    else if (std::strcmp(token, "false") == 0) value.SetValue(false);
    else FailToken("CPDFBool", token);
  }

  void Null(CPDFNull& value) {
    value.SetDefined(true);
    char token[StreamLoad::kTokenSize];
    if (!in_.GetToken(token, sizeof token)) FailIO("CPDFNull");
    if (std::strcmp(token, "null") != 0) FailToken("CPDFNull", token);
  }

private:
  // Counts one open container for the time of its body.
  class Nesting {
  public:
    Nesting(Reader& reader, const char* module, const char* opener) : reader_(reader) {
      if (reader_.depth_ >= kMaxObjectNesting) FailToken(module, opener);
      ++reader_.depth_;
    }
    ~Nesting() { --reader_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

  private:
    Reader& reader_;
  };

  // The byte after the next one, leaving the input where it is.
  int SecondByte() {
    in_.Get();
    int c = in_.Peek();
    in_.Unget(1);
    return c;
  }

  std::unique_ptr<CPDFObject> StringBody() {
    auto string = std::make_unique<CPDFString>();
    String(*string);
    return string;
  }

  // A container element or dictionary value: a reference or an object.
  std::unique_ptr<CPDFAtom> Element(const char* module) {
    if (std::unique_ptr<CPDFObjRef> ref = ReadRef(doc_, in_)) return ref;
    std::unique_ptr<CPDFObject> obj = Object();
    if (!obj) FailMissing(module, in_);
    return obj;
  }

  static void AssignBytes(TempString<char>& target, const char* module, const char* bytes, size_t size) {
    if (size > static_cast<size_t>(INT32_MAX) - 1) FailIO(module);
    if (!target.Assign(bytes, static_cast<int32_t>(size))) {
      ThrowPDF(module, kSerialize, CPDFException::kInternal, "TempString::Assign()");
    }
  }
  static void AssignBytes(TempString<char>& target, const char* module, const std::string& bytes) {
    AssignBytes(target, module, bytes.data(), bytes.size());
  }

  ObjectTable* doc_;
  StreamLoad& in_;
  const ObjectKey* key_;
  int32_t depth_ = 0;
};

}  // namespace

std::unique_ptr<CPDFObject> ReadObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key) {
  return Reader(doc, in, key).Object();
}

std::unique_ptr<CPDFObjRef> ReadRef(ObjectTable*, StreamLoad& in) {
  int64_t mark = in.Tell();
  if (mark < 0) return nullptr;
  // Most values are not references: anything that does not start with a
  // digit is turned away before reading tokens.
  in.SkipWhiteAndComments();
  if (!IsDecimalDigit(in.Peek())) {
    Rewind(in, mark);
    return nullptr;
  }
  char first[StreamLoad::kTokenSize];
  char second[StreamLoad::kTokenSize];
  char third[StreamLoad::kTokenSize];
  if (in.GetToken(first, sizeof first) && IsDecimalDigit(static_cast<unsigned char>(first[0])) &&
      in.GetToken(second, sizeof second) && IsDecimalDigit(static_cast<unsigned char>(second[0])) &&
      in.GetToken(third, sizeof third) && std::strcmp(third, "R") == 0) {
    return std::make_unique<CPDFObjRef>(TextToLong32(first), TextToLong32(second));
  }
  Rewind(in, mark);
  return nullptr;
}

std::unique_ptr<CPDFObject> ReadDictObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key) {
  return Reader(doc, in, key).DictObject();
}
std::unique_ptr<CPDFObject> ReadStringObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key) {
  return Reader(doc, in, key).StringObject();
}
std::unique_ptr<CPDFArray> ReadArrayObject(ObjectTable* doc, StreamLoad& in, const ObjectKey* key) {
  return Reader(doc, in, key).ArrayObject();
}
std::unique_ptr<CPDFName> ReadNameObject(ObjectTable* doc, StreamLoad& in) {
  return Reader(doc, in, nullptr).NameObject();
}
std::unique_ptr<CPDFNumber> ReadNumberObject(ObjectTable* doc, StreamLoad& in) {
  return Reader(doc, in, nullptr).NumberObject();
}
std::unique_ptr<CPDFBool> ReadBoolObject(ObjectTable* doc, StreamLoad& in) {
  return Reader(doc, in, nullptr).BoolObject();
}
std::unique_ptr<CPDFNull> ReadNullObject(ObjectTable* doc, StreamLoad& in) {
  return Reader(doc, in, nullptr).NullObject();
}

void ReadDict(CPDFDict& dict, ObjectTable* doc, StreamLoad& in, const ObjectKey* key) {
  Reader(doc, in, key).Dict(dict);
}
void ReadArray(CPDFArray& array, ObjectTable* doc, StreamLoad& in, const ObjectKey* key) {
  Reader(doc, in, key).Array(array);
}
void ReadName(CPDFName& name, StreamLoad& in) { Reader(nullptr, in, nullptr).Name(name); }
void ReadString(CPDFString& string, StreamLoad& in, const ObjectKey* key) {
  Reader(nullptr, in, key).String(string);
}
void ReadNumber(CPDFNumber& number, StreamLoad& in) { Reader(nullptr, in, nullptr).Number(number); }
void ReadBool(CPDFBool& value, StreamLoad& in) { Reader(nullptr, in, nullptr).Bool(value); }
void ReadNull(CPDFNull& value, StreamLoad& in) { Reader(nullptr, in, nullptr).Null(value); }

}  // namespace koyo
