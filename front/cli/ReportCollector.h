// A repair observer that writes what the run does into a FileReport.
#pragma once
#include "front/RepairObserver.h"
#include "front/cli/FileReport.h"

namespace kanafix::cli {

class ReportCollector : public RepairObserver {
public:
  explicit ReportCollector(FileReport& report) : report_(report) {}
  void OnDocument(int32_t pageCount) override { report_.pages = pageCount; }
  void OnReplaced(const FontVisit& font, const std::string& encoding) override {
    report_.replaced.push_back({font, encoding});
  }
  void OnSkipped(const FontVisit& font, SkipReason reason) override { report_.skipped.push_back({font, reason}); }

private:
  FileReport& report_;
};

}  // namespace kanafix::cli
