// The first line of a PDF or FDF file: which of the two it is and the version
// it declares.
#pragma once
#include <cstdint>

#include "koyo/document/CPDFFileStruct.h"

namespace koyo {

class StreamLoad;

class CPDFHeader : public CPDFFileStruct {
public:
  // Longest header line read; the rest of a longer line is ignored.
  static constexpr int32_t kMaxLine = 256;

  CPDFHeader() : CPDFFileStruct(kKindHeader) {}

  // Reads the header line at the stream's position: "%PDF-major.minor" or
  // "%FDF-major.minor". Throws ("CPDFHeader", "Serialize", 4, ...) with "ioerror"
  // when there is no line and "invalidheader: <line>" when it matches neither.
  void Serialize(StreamLoad& in);
  // Attaches the header to doc.
  bool Realize(CPDFDoc* doc) {
    Attach(doc);
    return true;
  }
  // The header line and a comment line of four bytes above 127.
  void Write(StreamSave& out) const override;

  bool IsFDF() const { return fdf_ != 0; }
  int32_t GetMajor() const { return major_; }
  int32_t GetMinor() const { return minor_; }
  void Set(bool fdf, int32_t major, int32_t minor) {
    fdf_ = fdf ? 1 : 0;
    major_ = major;
    minor_ = minor;
  }

  // Matches line against "%<kind>-<long>.<long>" the way the C scanner reads a
  // long (leading blanks, optional sign, digits; held to the 32-bit range).
  static bool ScanVersion(const char* line, const char* kind, int32_t& major, int32_t& minor);

private:
  uint8_t fdf_ = 0;
  int32_t major_ = 0;
  int32_t minor_ = 0;
};

}  // namespace koyo
