// The written forms of the file structure: the header, a cross-reference
// section and a trailer. Every line ends with CR LF.
#include <charconv>
#include <cstring>

#include "koyo/document/CPDFHeader.h"
#include "koyo/document/CPDFTrailer.h"
#include "koyo/document/CPDFXRef.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/ObjectWriter.h"
#include "koyo/object/StreamSave.h"

namespace koyo {

namespace {

// Largest value of a field of the given number of decimal digits.
constexpr int64_t FieldLimit(int32_t digits) {
  int64_t limit = 1;
  for (int32_t i = 0; i < digits; ++i) limit *= 10;
  return limit - 1;
}

// value as exactly digits decimal digits, zeros in front.
void WriteField(StreamSave& out, int64_t value, int32_t digits) {
  char text[24];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  (void)ec;
  int32_t length = static_cast<int32_t>(end - text);
  for (int32_t i = length; i < digits; ++i) out.Put('0');
  out.Write(text, length);
}

void WriteEntryLine(StreamSave& out, int64_t offset, int64_t generation, bool inUse) {
  if (offset < 0 || offset > FieldLimit(CPDFXRef::kOffsetDigits)) {
    ThrowPDFFormat("CPDFXRef", "Serialize", CPDFException::kUser,
                   "offset %lld does not fit the cross-reference table", static_cast<long long>(offset));
  }
  if (generation < 0 || generation > FieldLimit(CPDFXRef::kGenerationDigits)) {
    ThrowPDFFormat("CPDFXRef", "Serialize", CPDFException::kUser,
                   "generation %lld does not fit the cross-reference table", static_cast<long long>(generation));
  }
  WriteField(out, offset, CPDFXRef::kOffsetDigits);
  out.Put(' ');
  WriteField(out, generation, CPDFXRef::kGenerationDigits);
  out.Put(' ');
  out.Put(inUse ? 'n' : 'f');
  out.Apply(EndLine);
}

}  // namespace

void CPDFHeader::Write(StreamSave& out) const {
  out.WriteString(IsFDF() ? "%FDF-" : "%PDF-");
  out.WriteInt(major_).Put('.').WriteInt(minor_).Apply(EndLine);
  // Bytes above 127 tell transfer programs that the file is binary.
  static const char kBinaryMark[] = {'%', '\xE2', '\xE3', '\xCF', '\xD3'};
  out.Write(kBinaryMark, sizeof kBinaryMark).Apply(EndLine);
}

void CPDFXRef::Write(StreamSave& out) const {
  out.WriteString("xref").Apply(EndLine);
  // A run of consecutive object numbers; object 0 opens the first one.
  int64_t first = 0;
  int64_t count = 1;
  bool current = true;
  auto writeRun = [&] {
    out.WriteInt(first).Put(' ').WriteInt(count).Apply(EndLine);
    int64_t number = first;
    if (first == 0) {
      WriteEntryLine(out, freeHead_, 65535, false);
      ++number;
    }
    for (; number < first + count; ++number) {
      const XRefEntry& e = entries_.at(static_cast<int32_t>(number));
      WriteEntryLine(out, e.offset, e.genNum, e.inUse != 0);
    }
    current = false;
  };
  for (const auto& [number, entry] : entries_) {
    (void)entry;
    if (number < 1 || number > count_) continue;
    if (current && number == first + count) {
      ++count;
      continue;
    }
    if (current) writeRun();
    first = number;
    count = 1;
    current = true;
  }
  if (current) writeRun();
}

void CPDFTrailer::Write(StreamSave& out) const {
  out.WriteString("trailer").Apply(EndLine);
  // The dictionary in the object writer's form, except that Prev, when it
  // holds the narrowed copy of an offset beyond 32 bits, is written in full.
  out.WriteString("<<").Apply(EndLine);
  for (auto it = dict_.begin(); it != dict_.end(); ++it) {
    out.Put('/');
    EncodeNameBytes(out, it->key.c_str(), it->key.Length());
    out.Put(' ');
    const CPDFAtom* value = it->value;
    bool widePrev = std::strcmp(it->key.c_str(), "Prev") == 0 && prevOffset_ > INT32_MAX && value &&
                    !value->IsReference() && static_cast<const CPDFObject*>(value)->IsType(CPDFObject::kAnyNumber) &&
                    static_cast<const CPDFNumber*>(value)->GetInt() == INT32_MAX;
    if (widePrev) {
      out.WriteInt(prevOffset_);
    } else {
      WriteObject(out, value, nullptr);
    }
    out.Apply(EndLine);
  }
  out.WriteString(">>").Apply(EndLine);
  out.WriteString("startxref").Apply(EndLine);
  out.WriteInt(startXRef_).Apply(EndLine);
  out.WriteString("%%EOF").Apply(EndLine);
}

}  // namespace koyo
