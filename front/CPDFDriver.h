// The font repair driver: opens a PDF file that is already in its final place,
// replaces every indirect font that names an installed Shift-JIS TrueType font
// (or a built-in Heisei substitute) by a complete Type 0 font under the same
// object number, and appends the result as one incremental update.
#pragma once
#include <memory>
#include <string>

namespace koyo {
class CPDFException;
class CPDFLib;
class CPDFDoc;
}  // namespace koyo

namespace kanafix {

class RepairObserver;

class CPDFDriver {
public:
  // A driver around a new library instance with the given temporary directory;
  // null (and the log line "cannot initialize libkoyo") when the instance
  // cannot be created.
  static CPDFDriver* Create(const char* tempDir);
  virtual ~CPDFDriver();
  CPDFDriver(const CPDFDriver&) = delete;
  CPDFDriver& operator=(const CPDFDriver&) = delete;

  // Repairs the file at path in place. False after a failure, with the message
  // set and the details in the log.
  bool Run(const char* path);

  // The last failure message; empty until a failure.
  const std::string& GetMessage() const { return message_; }

  // When set, a run that fails after the update was prepared leaves the file
  // byte for byte as it was, instead of removing it.
  void SetKeepFileOnFailure(bool keep) { keepFileOnFailure_ = keep; }
  // When set, the fonts are examined and reported but nothing is written.
  void SetDryRun(bool dryRun) { dryRun_ = dryRun; }
  // The name failure messages give the file (default: the path Run works on).
  void SetDisplayPath(const std::string& path) { displayPath_ = path; }
  // Receives what the run does with each font (may be null).
  void SetObserver(RepairObserver* observer) { observer_ = observer; }

private:
  explicit CPDFDriver(koyo::CPDFLib* library);
  // Reports a failure: the short message, the bracketed log line and, when a
  // record is given, its four-line dump. Always false.
  bool Fail(const koyo::CPDFException* record, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

  std::string message_;
  std::unique_ptr<koyo::CPDFLib> library_;
  bool keepFileOnFailure_ = false;
  bool dryRun_ = false;
  RepairObserver* observer_ = nullptr;
  std::string displayPath_;
};

}  // namespace kanafix
