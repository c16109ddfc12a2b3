// The failure record of the library: where a failure happened (class and
// operation), its category and a free-text detail. Failures travel inside an
// operation as thrown CPDFException values and end in a document's record.
#pragma once
#include <cstdint>
#include <string>

namespace koyo {

class CPDFException {
public:
  // Categories of Type. 0 means that nothing is recorded.
  enum : int32_t {
    kNone = 0,
    kRuntimeLibrary = 1,  // a C run-time call failed
    kSystem = 2,          // an operating-system call failed
    kUser = 3,            // the caller asked for something impossible
    kInvalidFormat = 4,   // the file does not follow the syntax
    kInternal = 5,        // an inner step failed; Factor names it
  };

  CPDFException() = default;
  // A null factor takes the current C run-time error text for type 1, the
  // system's text for its last error for type 2, and stays empty otherwise.
  CPDFException(const char* module, const char* method, int32_t type, const char* factor);
  CPDFException(const CPDFException&) = default;
  CPDFException& operator=(const CPDFException&) = default;
  virtual ~CPDFException() = default;

  // Marks the record empty; the texts stay as they are.
  void Clear() { Type = kNone; }
  bool IsEmpty() const { return Type == kNone; }

  // The printed name of a category; empty text for 0 and for unknown values.
  static const char* TypeName(int32_t type);
  const char* TypeName() const { return TypeName(Type); }

  std::string Module;
  std::string Method;
  int32_t Type = kNone;
  std::string Factor;
};

// Longest factor text that ThrowPDFFormat produces (longer text is cut).
inline constexpr size_t kFactorFormatSize = 1024;

// Raises a failure of the given class and operation.
[[noreturn]] void ThrowPDF(const char* module, const char* method, int32_t type, const char* factor);
// Same, with the factor formatted printf-style (cut to kFactorFormatSize - 1 bytes).
[[noreturn]] void ThrowPDFFormat(const char* module, const char* method, int32_t type, const char* fmt,
                                 ...) __attribute__((format(printf, 4, 5)));

}  // namespace koyo
