#include "front/Log.h"

#include <cstdarg>
#include <fstream>

#include "koyo/object/CPDFException.h"
#include "koyo/platform/Format.h"

namespace kanafix {

namespace {
std::ofstream& Stream() {
  static std::ofstream stream;
  return stream;
}
}  // namespace

bool OpenLog(const char* path) {
  CloseLog();
  if (!path || !*path) return false;
  Stream().open(path, std::ios::out | std::ios::app);
  if (!Stream().is_open()) {
    Stream().clear();
    return false;
  }
  return true;
}

void CloseLog() {
  if (Stream().is_open()) Stream().close();
  Stream().clear();
}

bool LogIsWritable() { return Stream().is_open() && Stream().good(); }

void LogLine(const char* fmt, ...) {
  if (!LogIsWritable()) return;
  char buf[kLogLineSize];
  va_list ap;
  va_start(ap, fmt);
  size_t n = koyo::platform::FormatBoundedV(buf, sizeof buf, fmt, ap);
  va_end(ap);
  std::ofstream& out = Stream();
  out.write(buf, static_cast<std::streamsize>(n));
  out.put('\n');
  out.flush();
}

void LogException(const koyo::CPDFException& record) {
  LogLine("Module: %s", record.Module.c_str());
  LogLine("Method: %s", record.Method.c_str());
  LogLine("Type: %s", record.TypeName());
  LogLine("Factor: %s", record.Factor.c_str());
}

}  // namespace kanafix
