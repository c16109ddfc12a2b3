#include "front/Repair.h"

#include <cstring>
#include <memory>

#include "front/CPDFDriver.h"
#include "front/DriverMessage.h"
#include "front/Log.h"
#include "front/kanafix.h"
#include "koyo/platform/Files.h"
#include "koyo/platform/Locale.h"
#include "koyo/platform/ProcessDirs.h"
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

namespace {

// Runs the driver on runPath. False with the message in text after a failure.
bool RunDriver(const char* runPath, const char* shownPath, bool keepOnFailure, const RepairOptions& options,
               std::string& text) {
  std::unique_ptr<CPDFDriver> driver(CPDFDriver::Create(options.tempDir.c_str()));
  if (!driver) {
    text = "cannot create PDFDriver";
    return false;
  }
  driver->SetKeepFileOnFailure(keepOnFailure);
  driver->SetDryRun(options.dryRun);
  driver->SetObserver(options.observer);
  driver->SetDisplayPath(shownPath);
  if (driver->Run(runPath)) return true;
  text = driver->GetMessage();
  return false;
}

// Repairs the file at input in its place. The work is done on a copy beside it,
// which takes the file's place by one rename only once the repair has
// succeeded: a failure, a crash or a kill part way through never leaves a
// half-written update in the caller's file.
int RepairInPlace(const char* input, const RepairOptions& options, std::string* message) {
  std::string text;
  std::string real;
  if (!koyo::platform::FileExists(input) || !koyo::platform::RealPath(input, real)) {
    // Nothing to copy: the driver reports the missing file or the unreadable one.
    if (RunDriver(input, input, true, options, text)) return 0;
    return Fail(message, text);
  }
  std::string work;
  if (!koyo::platform::MakeTempFile(koyo::platform::DirectoryOf(real).c_str(), koyo::platform::kTempPrefix, work)) {
    SetDriverMessage(text, "system error: %s", koyo::platform::LastErrorText().c_str());
    return Fail(message, text);
  }
  if (!koyo::platform::CopyFile(real.c_str(), work.c_str()) ||
      !koyo::platform::CopyPermissions(real.c_str(), work.c_str())) {
    SetDriverMessage(text, "system error: %s", koyo::platform::LastErrorText().c_str());
    koyo::platform::RemoveFile(work.c_str());
    return Fail(message, text);
  }
  if (!RunDriver(work.c_str(), input, false, options, text)) {
    koyo::platform::RemoveFile(work.c_str());
    return Fail(message, text);
  }
  if (!koyo::platform::RenameFile(work.c_str(), real.c_str())) {
    SetDriverMessage(text, "system error: %s", koyo::platform::LastErrorText().c_str());
    koyo::platform::RemoveFile(work.c_str());
    return Fail(message, text);
  }
  return 0;
}

}  // namespace

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
  if (options.dryRun) return RunDriver(input, input, true, options, text) ? 0 : Fail(message, text);
  if (std::strcmp(input, target) == 0) return RepairInPlace(input, options, message);

  if (!koyo::platform::CopyFile(input, target)) {
    SetDriverMessage(text, "system error: %s", koyo::platform::LastErrorText().c_str());
    return Fail(message, text);
  }
  if (!RunDriver(target, target, false, options, text)) {
    // A failed run leaves no output behind: the copy is not a repaired file.
    koyo::platform::RemoveFile(target);
    return Fail(message, text);
  }
  return 0;
}

}  // namespace kanafix
