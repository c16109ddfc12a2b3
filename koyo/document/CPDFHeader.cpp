#include "koyo/document/CPDFHeader.h"

#include <cstring>
#include <limits>

#include "koyo/object/CPDFException.h"
#include "koyo/object/StreamLoad.h"

namespace koyo {

namespace {

bool IsScanBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// One long as the C scanner reads it; advances p past it.
bool ScanLong(const char*& p, int32_t& value) {
  while (IsScanBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  int64_t v = 0;
  const int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
  while (*p >= '0' && *p <= '9') {
    if (v < limit) v = v * 10 + (*p - '0');
    ++p;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) v = std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) v = std::numeric_limits<int32_t>::min();
  value = static_cast<int32_t>(v);
  return true;
}

}  // namespace

bool CPDFHeader::ScanVersion(const char* line, const char* kind, int32_t& major, int32_t& minor) {
  if (line[0] != '%' || std::strncmp(line + 1, kind, 3) != 0 || line[4] != '-') return false;
  const char* p = line + 5;
  int32_t first = 0;
  int32_t second = 0;
  if (!ScanLong(p, first) || *p++ != '.' || !ScanLong(p, second)) return false;
  major = first;
  minor = second;
  return true;
}

void CPDFHeader::Serialize(StreamLoad& in) {
  char line[kMaxLine + 1];
  int32_t n = in.GetLine(line, sizeof line, true, true);
  if (n <= 0) ThrowPDF("CPDFHeader", "Serialize", CPDFException::kInvalidFormat, "ioerror");
  int32_t major = 0;
  int32_t minor = 0;
  if (ScanVersion(line, "PDF", major, minor)) {
    Set(false, major, minor);
  } else if (ScanVersion(line, "FDF", major, minor)) {
    Set(true, major, minor);
  } else {
    ThrowPDFFormat("CPDFHeader", "Serialize", CPDFException::kInvalidFormat, "invalidheader: %s", line);
  }
}

}  // namespace koyo
