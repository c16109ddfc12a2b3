#include "front/cli/JsonReport.h"

#include "front/cli/DisplayText.h"

namespace kanafix::cli {

namespace {

std::string Field(const char* key, const std::string& jsonValue) {
  return std::string("\"") + key + "\":" + jsonValue;
}

std::string Number(int64_t value) { return std::to_string(value); }

std::string FontFields(const FontVisit& font) {
  const bool direct = font.objectNumber < 0;
  return Field("page", Number(font.page)) + "," + Field("resource", JsonString(FontNameText(font.resourceName))) +
         "," + Field("object", direct ? "null" : Number(font.objectNumber)) + "," +
         Field("generation", direct ? "null" : Number(font.generation)) + "," +
         Field("subtype", JsonString(FontNameText(font.subtype))) + "," +
         Field("baseFont", JsonString(FontNameText(font.baseFont)));
}

}  // namespace

std::string FormatJsonReport(const FileReport& report) {
  std::string out = "{";
  out += Field("file", JsonString(PathText(report.input))) + ",";
  out += Field("output", JsonString(PathText(report.output))) + ",";
  out += Field("renamedFrom", report.renamedFrom.empty() ? "null" : JsonString(PathText(report.renamedFrom))) + ",";
  out += Field("status", report.ok ? "\"ok\"" : "\"failed\"") + ",";
  out += Field("message", JsonString(PathText(report.message))) + ",";
  out += Field("dryRun", report.dryRun ? "true" : "false") + ",";
  out += Field("pages", report.pages < 0 ? "null" : Number(report.pages)) + ",";
  out += "\"replaced\":[";
  for (size_t i = 0; i < report.replaced.size(); ++i) {
    const ReplacedFont& f = report.replaced[i];
    if (i) out += ",";
    out += "{" + FontFields(f.font) + "," + Field("encoding", JsonString(FontNameText(f.encoding))) + "}";
  }
  out += "],\"skipped\":[";
  for (size_t i = 0; i < report.skipped.size(); ++i) {
    const SkippedFont& f = report.skipped[i];
    if (i) out += ",";
    out += "{" + FontFields(f.font) + "," + Field("reason", JsonString(SkipReasonKey(f.reason))) + "," +
           Field("reasonText", JsonString(SkipReasonText(f.reason))) + "}";
  }
  out += "]}\n";
  return out;
}

}  // namespace kanafix::cli
