// A repair observer that writes what the run does into a FileReport. A font
// object left alone is listed once, where it is first met, as a replaced one is.
#pragma once
#include <set>
#include <utility>

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
  void OnSkipped(const FontVisit& font, SkipReason reason) override {
    if (font.objectNumber >= 0 && !skippedObjects_.emplace(font.objectNumber, font.generation).second) return;
    report_.skipped.push_back({font, reason});
  }

private:
  FileReport& report_;
  std::set<std::pair<int32_t, int32_t>> skippedObjects_;
};

}  // namespace kanafix::cli
