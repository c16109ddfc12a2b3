// What a repair run tells an interested caller about each font it meets: the
// report of the command-line tool is built from these calls. DoKanafix does not
// use it.
#pragma once
#include <cstdint>
#include <string>

namespace kanafix {

// Why a font of a page's resources was left as it was.
enum class SkipReason {
  kDirect,         // a font dictionary written inside the resources, not an object of its own
  kNotInstalled,   // no installed font, nor a built-in substitute, has its name
  kNotJapanese,    // the installed font of that name is not a Shift-JIS font
  kEmbedded,       // it carries an embedded font program, which a replacement would lose
  kEncodingStream, // a composite font whose Encoding is an embedded CMap
};

// A short English phrase for the report.
inline const char* SkipReasonText(SkipReason reason) {
  switch (reason) {
    case SkipReason::kDirect: return "direct font dictionary";
    case SkipReason::kNotInstalled: return "not installed";
    case SkipReason::kNotJapanese: return "not a Japanese font";
    case SkipReason::kEmbedded: return "embedded font program";
    case SkipReason::kEncodingStream: return "embedded CMap";
  }
  return "";
}
// A stable identifier for machine-readable reports.
inline const char* SkipReasonKey(SkipReason reason) {
  switch (reason) {
    case SkipReason::kDirect: return "direct";
    case SkipReason::kNotInstalled: return "not-installed";
    case SkipReason::kNotJapanese: return "not-japanese";
    case SkipReason::kEmbedded: return "embedded";
    case SkipReason::kEncodingStream: return "encoding-stream";
  }
  return "";
}

// One font met on a page, as the report names it.
struct FontVisit {
  int32_t page = 0;            // counted from 1
  std::string resourceName;    // key in the page's Font resources, e.g. "F1"
  int32_t objectNumber = -1;   // -1 for a direct font
  int32_t generation = -1;
  std::string subtype;         // Subtype as it was (TrueType, Type0, ...)
  std::string baseFont;        // BaseFont as it was
};

class RepairObserver {
public:
  virtual ~RepairObserver() = default;
  // The page count, once known (-1 when it cannot be read).
  virtual void OnDocument(int32_t /*pageCount*/) {}
  // A font replaced (or, in a dry run, one that would be) and the CMap the new
  // font is encoded with.
  virtual void OnReplaced(const FontVisit& /*font*/, const std::string& /*encoding*/) {}
  virtual void OnSkipped(const FontVisit& /*font*/, SkipReason /*reason*/) {}
};

}  // namespace kanafix
