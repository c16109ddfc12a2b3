#include "koyo/object/CPDFException.h"

#include <cerrno>
#include <cstdarg>

#include "koyo/platform/Format.h"
#include "koyo/platform/SystemError.h"

namespace koyo {

CPDFException::CPDFException(const char* module, const char* method, int32_t type, const char* factor)
    : Module(module ? module : ""), Method(method ? method : ""), Type(type) {
  if (factor) {
    Factor = factor;
  } else if (type == kRuntimeLibrary || type == kSystem) {
    // On this platform both the run-time library and the system report through errno.
    Factor = type == kRuntimeLibrary ? platform::ErrorText(errno) : platform::LastErrorText();
  }
}

const char* CPDFException::TypeName(int32_t type) {
  switch (type) {
    case kRuntimeLibrary: return "Runtime Library Error";
    case kSystem: return "System Error";
    case kUser: return "User Error";
    case kInvalidFormat: return "Invalid Format";
    case kInternal: return "Internal Error";
    default: return "";
  }
}

void ThrowPDF(const char* module, const char* method, int32_t type, const char* factor) {
  throw CPDFException(module, method, type, factor);
}

void ThrowPDFFormat(const char* module, const char* method, int32_t type, const char* fmt, ...) {
  char buf[kFactorFormatSize];
  va_list ap;
  va_start(ap, fmt);
  platform::FormatBoundedV(buf, sizeof buf, fmt, ap);
  va_end(ap);
  throw CPDFException(module, method, type, buf);
}

}  // namespace koyo
