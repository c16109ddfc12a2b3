// Fuzz target: the object reader on arbitrary bytes.
//
// The input is read as a sequence of values (references and objects) until it
// ends; a byte that starts no value, or a value that fails to read, is stepped
// over. Each value read is written back and the text written must read again
// as a value that writes the same way (after one step: numbers outside the
// 32-bit range settle on their clamped form; streams whose body holds the word
// endstream are exempt, see CheckRoundTrip). The whole walk runs twice, with
// the default input buffer and with a tiny one, and both must see the same
// values: the reader must not depend on where its buffer ends.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/CPDFObject.h"
#include "koyo/object/ObjectReader.h"
#include "koyo/object/ObjectWriter.h"
#include "koyo/object/StrLoad.h"
#include "koyo/object/StrSave.h"

namespace koyo::fuzz {
namespace {

// The written text is followed by what ends an indirect object, so that a
// stream's body can be found again.
constexpr char kObjectEnd[] = "\r\nendobj\r\n";

std::string Written(const CPDFAtom& value) {
  StrSave out;
  Check(out.Open(64), "a memory output opens");
  WriteObject(out, &value, nullptr);
  Check(!out.Error(), "writing to memory does not fail", out.ErrorText());
  return std::string(out.Data(), static_cast<size_t>(out.Length()));
}

// A reference when the next tokens form one, else an object (null when the
// next byte starts none). Throws CPDFException on a syntax error.
std::unique_ptr<CPDFAtom> ReadValue(StreamLoad& in) {
  if (std::unique_ptr<CPDFObjRef> ref = ReadRef(nullptr, in)) return ref;
  return ReadObject(nullptr, in, nullptr);
}

// Reads text that the writer produced: it must hold one whole value and then
// the object end. Returns what the value writes as.
std::string ReadBack(const std::string& written) {
  const std::string text = written + kObjectEnd;
  StrLoad in;
  Check(in.Open(text.data(), static_cast<int64_t>(text.size())), "a memory input opens");
  std::unique_ptr<CPDFAtom> value;
  try {
    value = ReadValue(in);
  } catch (const CPDFException& e) {
    Fail("written text reads back", written + "\n-> " + e.Module + "::" + e.Method + ": " + e.Factor);
  }
  Check(value != nullptr, "written text starts a value", written);
  char token[StreamLoad::kTokenSize];
  Check(in.GetToken(token, sizeof token) && std::string(token) == "endobj",
        "written text holds exactly one value", written);
  return Written(*value);
}

size_t Count(const std::string& text, const std::string& word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

void CheckRoundTrip(const std::string& written) {
  // A stream body ends at the first "endstream" followed by "endobj", found
  // anywhere, even inside a longer token, so a body holding "endstream" itself
  // (say "x endstream y endobj" whose last token was glued to the keyword)
  // may end elsewhere once written. Such values only have to read without
  // crashing.
  if (Count(written, "endstream") != Count(written, ">>\r\nstream\r\n")) {
    try {
      StrLoad in;
      Check(in.Open(written.data(), static_cast<int64_t>(written.size())), "a memory input opens");
      ReadValue(in);
    } catch (const CPDFException&) {
    }
    return;
  }
  std::string again = ReadBack(written);
  if (again == written) return;
  Check(ReadBack(again) == again, "written text settles after one round trip", written + "\n-> " + again);
}

// Reads every value of the input; returns what was seen up to the first
// failure (the position after a failure is not specified, so the later
// values may differ between buffer sizes).
std::string Walk(const uint8_t* data, size_t size, int32_t bufferSize) {
  StrLoad in;
  Check(in.Open(reinterpret_cast<const char*>(data), static_cast<int64_t>(size), bufferSize),
        "a memory input opens");
  std::string seen;
  bool failed = false;
  for (;;) {
    const int64_t before = in.Tell();
    Check(before >= 0, "the input position is known");
    if (in.Peek() < 0) break;
    std::unique_ptr<CPDFAtom> value;
    try {
      value = ReadValue(in);
    } catch (const CPDFException& e) {
      Check(e.Type == CPDFException::kInvalidFormat || e.Type == CPDFException::kInternal,
            "a read fails with a format or internal record", e.Factor);
      if (!failed) seen += "failed: " + e.Module + "::" + e.Method + ": " + e.Factor + "\n";
      failed = true;
    }
    if (value) {
      std::string written = Written(*value);
      CheckRoundTrip(written);
      if (!failed) seen += written + "\n";
    } else if (!failed) {
      seen += "no value at " + std::to_string(in.Tell()) + "\n";
    }
    // Step over whatever could not be read, so that the walk always ends.
    if (in.Tell() <= before && in.Seek(before + 1) != 0) break;
  }
  return seen;
}

}  // namespace
}  // namespace koyo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace koyo::fuzz;
  std::string whole = Walk(data, size, 0);
  std::string small = Walk(data, size, 3);
  Check(whole == small, "the values read do not depend on the buffer size",
        "default buffer:\n" + whole + "3-byte buffer:\n" + small);
  return 0;
}
