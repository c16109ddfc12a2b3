#include "front/cli/ReportWire.h"

#include <charconv>
#include <cstdint>

namespace kanafix::cli {

namespace {

// Upper bound on the fonts of one report: far above any real file, it keeps a
// corrupt length from reserving memory without end.
constexpr int64_t kMaxFonts = 1 << 24;

class Writer {
public:
  void Int(int64_t value) {
    char buf[24];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    out_.append(buf, result.ptr);
    out_.push_back(';');
  }
  void Text(const std::string& value) {
    Int(static_cast<int64_t>(value.size()));
    out_.append(value);
  }
  std::string& Result() { return out_; }

private:
  std::string out_;
};

class Reader {
public:
  explicit Reader(std::string_view data) : data_(data) {}
  bool Int(int64_t* value) {
    const char* begin = data_.data() + pos_;
    const char* end = data_.data() + data_.size();
    auto result = std::from_chars(begin, end, *value);
    if (result.ec != std::errc() || result.ptr == end || *result.ptr != ';') return false;
    pos_ = static_cast<size_t>(result.ptr - data_.data()) + 1;
    return true;
  }
  bool Int32(int32_t* value) {
    int64_t v;
    if (!Int(&v) || v < INT32_MIN || v > INT32_MAX) return false;
    *value = static_cast<int32_t>(v);
    return true;
  }
  bool Text(std::string* value) {
    int64_t size;
    if (!Int(&size) || size < 0 || static_cast<uint64_t>(size) > data_.size() - pos_) return false;
    value->assign(data_.substr(pos_, static_cast<size_t>(size)));
    pos_ += static_cast<size_t>(size);
    return true;
  }
  bool AtEnd() const { return pos_ == data_.size(); }

private:
  std::string_view data_;
  size_t pos_ = 0;
};

void PutVisit(Writer& w, const FontVisit& font) {
  w.Int(font.page);
  w.Text(font.resourceName);
  w.Int(font.objectNumber);
  w.Int(font.generation);
  w.Text(font.subtype);
  w.Text(font.baseFont);
}

bool GetVisit(Reader& r, FontVisit* font) {
  return r.Int32(&font->page) && r.Text(&font->resourceName) && r.Int32(&font->objectNumber) &&
         r.Int32(&font->generation) && r.Text(&font->subtype) && r.Text(&font->baseFont);
}

bool ValidReason(int64_t value) {
  switch (static_cast<SkipReason>(value)) {
    case SkipReason::kDirect:
    case SkipReason::kNotInstalled:
    case SkipReason::kNotJapanese:
    case SkipReason::kEmbedded:
    case SkipReason::kEncodingStream:
      return true;
  }
  return false;
}

}  // namespace

std::string EncodeReport(const FileReport& report) {
  Writer w;
  w.Text(report.input);
  w.Text(report.output);
  w.Text(report.renamedFrom);
  w.Int(report.ok ? 1 : 0);
  w.Int(report.dryRun ? 1 : 0);
  w.Text(report.message);
  w.Int(report.pages);
  w.Int(static_cast<int64_t>(report.replaced.size()));
  for (const ReplacedFont& f : report.replaced) {
    PutVisit(w, f.font);
    w.Text(f.encoding);
  }
  w.Int(static_cast<int64_t>(report.skipped.size()));
  for (const SkippedFont& f : report.skipped) {
    PutVisit(w, f.font);
    w.Int(static_cast<int64_t>(f.reason));
  }
  return std::move(w.Result());
}

bool DecodeReport(std::string_view data, FileReport* report) {
  Reader r(data);
  int64_t ok, dryRun, count;
  if (!r.Text(&report->input) || !r.Text(&report->output) || !r.Text(&report->renamedFrom) || !r.Int(&ok) ||
      !r.Int(&dryRun) || !r.Text(&report->message) || !r.Int32(&report->pages)) {
    return false;
  }
  if ((ok != 0 && ok != 1) || (dryRun != 0 && dryRun != 1)) return false;
  report->ok = ok == 1;
  report->dryRun = dryRun == 1;
  if (!r.Int(&count) || count < 0 || count > kMaxFonts) return false;
  report->replaced.clear();
  for (int64_t i = 0; i < count; ++i) {
    ReplacedFont f;
    if (!GetVisit(r, &f.font) || !r.Text(&f.encoding)) return false;
    report->replaced.push_back(std::move(f));
  }
  if (!r.Int(&count) || count < 0 || count > kMaxFonts) return false;
  report->skipped.clear();
  for (int64_t i = 0; i < count; ++i) {
    SkippedFont f;
    int64_t reason;
    if (!GetVisit(r, &f.font) || !r.Int(&reason) || !ValidReason(reason)) return false;
    f.reason = static_cast<SkipReason>(reason);
    report->skipped.push_back(std::move(f));
  }
  return r.AtEnd();
}

}  // namespace kanafix::cli
