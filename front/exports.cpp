// The two C functions libkanafix.so exports. Everything else in the library is
// hidden.
#include <string>

#include "front/Repair.h"
#include "front/kanafix.h"
#include "koyo/platform/Format.h"

#define KANAFIX_EXPORT extern "C" __attribute__((visibility("default")))

KANAFIX_EXPORT int KanafixInitialize(const char* logPath, const char* tempDir) {
  try {
    return kanafix::InitializeProcess(logPath, tempDir) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

KANAFIX_EXPORT int DoKanafix(const char* inputPath, const char* outputPath, char* errorText, const char* version) {
  std::string message;
  int result = 1;
  try {
    kanafix::RepairOptions options;
    options.tempDir = kanafix::ProcessTempDir();
    result = kanafix::RepairFile(inputPath, outputPath, version, options, &message);
  } catch (...) {
    // Nothing may unwind into a C caller.
    message = "internal error";
    result = 1;
  }
  if (result != 0 && errorText) {
    koyo::platform::FormatBounded(errorText, KANAFIX_ERROR_TEXT_SIZE, "%s", message.c_str());
  }
  return result;
}
