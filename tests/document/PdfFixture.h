// Test helper: writes small PDF files whose cross-reference offsets are
// computed from the text, section by section, and a scratch directory for them.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

#include "koyo/object/CPDFException.h"
#include "tests/object/TempFileFixture.h"

namespace koyo::test {


// Builds a PDF file text: objects are appended with their offsets noted; each
// Section call writes a cross-reference section for the objects (and free
// entries) added since the previous one, its trailer and the end marker.
class PdfBuilder {
public:
  explicit PdfBuilder(const std::string& header = "%PDF-1.3\n") : text_(header) {}

  // "num gen obj <body> endobj"; returns the object's offset.
  int64_t Object(int num, int gen, const std::string& body) {
    int64_t at = static_cast<int64_t>(text_.size());
    text_ += std::to_string(num) + " " + std::to_string(gen) + " obj\n" + body + "\nendobj\n";
    pending_[num] = Entry{at, gen, true};
    return at;
  }
  // A free entry for num in the next section, linking to next.
  void Free(int num, int gen, int next) { pending_[num] = Entry{next, gen, false}; }
  // An entry in use for num at offset in the next section (for objects
  // written with Raw).
  void Use(int num, int gen, int64_t offset) { pending_[num] = Entry{offset, gen, true}; }
  void Raw(const std::string& bytes) { text_ += bytes; }

  // Writes the section; trailerEntries go into the trailer dictionary beside
  // Size and (after the first section) Prev. The first section also lists the
  // head of the free list (object 0). Returns the offset of "xref".
  int64_t Section(const std::string& trailerEntries, int size, int freeHead = 0) {
    int64_t at = static_cast<int64_t>(text_.size());
    text_ += "xref\n";
    if (prevXRef_ < 0) text_ += "0 1\n" + Field(freeHead, 10) + " 65535 f\r\n";
    for (const auto& [num, e] : pending_) {
      text_ += std::to_string(num) + " 1\n" + Field(e.offset, 10) + " " + Field(e.gen, 5) + (e.inUse ? " n" : " f") +
               "\r\n";
    }
    pending_.clear();
    text_ += "trailer\n<< /Size " + std::to_string(size);
    if (prevXRef_ >= 0) text_ += " /Prev " + std::to_string(prevXRef_);
    text_ += " " + trailerEntries + " >>\nstartxref\n" + std::to_string(at) + "\n%%EOF\n";
    prevXRef_ = at;
    return at;
  }

  const std::string& Text() const { return text_; }
  int64_t Offset() const { return static_cast<int64_t>(text_.size()); }

  static std::string Field(int64_t value, int width) {
    std::string s = std::to_string(value);
    return std::string(width > static_cast<int>(s.size()) ? width - s.size() : 0, '0') + s;
  }

private:
  struct Entry {
    int64_t offset;
    int gen;
    bool inUse;
  };
  std::string text_;
  std::map<int, Entry> pending_;
  int64_t prevXRef_ = -1;
};

// The three objects of a minimal document: catalog, page tree, one page.
inline void AddMinimalDocument(PdfBuilder& pdf) {
  pdf.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>");
}

inline std::string Describe(const CPDFException& e) {
  return "(" + e.Module + ", " + e.Method + ", " + std::to_string(e.Type) + ", \"" + e.Factor + "\")";
}

}  // namespace koyo::test
