#include "front/Repair.h"

#include <cstring>
#include <memory>

#include "front/CPDFDriver.h"
#include "front/DriverMessage.h"
#include "front/Log.h"
#include "front/kanafix.h"
#include "koyo/platform/Files.h"
#include "koyo/platform/Locale.h"
#include "koyo/platform/SystemError.h"

namespace kanafix {

namespace {

bool g_initialised = false;
std::string g_tempDir;

bool IsEmpty(const char* s) { return !s || !*s; }

int Fail(std::string* message, std::string text) {
  if (message) *message = std::move(text);
  return 1;
}

}  // namespace

bool InitializeProcess(const char* logPath, const char* tempDir) {
  if (g_initialised) return true;
  if (!koyo::platform::SelectJapaneseLocale()) return false;
  if (!IsEmpty(logPath)) OpenLog(logPath);
  if (tempDir) g_tempDir = tempDir;
  g_initialised = true;
  return true;
}

const std::string& ProcessTempDir() { return g_tempDir; }

int RepairFile(const char* inputPath, const char* outputPath, const char* version, const RepairOptions& options,
               std::string* message) {
  std::string text;
  if (version && std::strcmp(version, KANAFIX_INTERFACE_VERSION) != 0) {
    SetDriverMessage(text, "Invalid Version: %s", version);
    return Fail(message, text);
  }
  const char* input = inputPath ? inputPath : "";
  const char* target = IsEmpty(outputPath) ? input : outputPath;
  const size_t limit = koyo::platform::MaxPathLength();
  if (std::strlen(input) >= limit || std::strlen(target) >= limit) {
    SetDriverMessage(text, "path too long: at most %zu bytes are accepted", limit - 1);
    return Fail(message, text);
  }
  // A dry run reads the input where it is and writes nothing.
  const bool inPlace = options.dryRun || std::strcmp(input, target) == 0;
  const char* runPath = options.dryRun ? input : target;
  if (!inPlace && !koyo::platform::CopyFile(input, target)) {
    SetDriverMessage(text, "system error: %s", koyo::platform::LastErrorText().c_str());
    return Fail(message, text);
  }

  std::unique_ptr<CPDFDriver> driver(CPDFDriver::Create(options.tempDir.c_str()));
  if (!driver) {
    if (!inPlace) koyo::platform::RemoveFile(target);
    return Fail(message, "cannot create PDFDriver");
  }
  // In place, the file being repaired is the caller's only copy: a failed run
  // must leave it exactly as it was.
  driver->SetKeepFileOnFailure(inPlace);
  driver->SetDryRun(options.dryRun);
  driver->SetObserver(options.observer);
  if (!driver->Run(runPath)) {
    text = driver->GetMessage();
    driver.reset();
    // A failed run leaves no output behind: the copy is not a repaired file.
    if (!inPlace) koyo::platform::RemoveFile(target);
    return Fail(message, text);
  }
  return 0;
}

}  // namespace kanafix
