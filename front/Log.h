// The process-wide log of the front end: a text file opened for appending,
// one formatted line per message, flushed at once. Nothing is written while
// the log is closed or after a write has failed.
#pragma once
#include <cstddef>

namespace koyo {
class CPDFException;
}

namespace kanafix {

// Size of the buffer a log line is formatted into (longer text is cut to one
// byte less).
inline constexpr size_t kLogLineSize = 1024;

// Opens path for appending (closing a log already open). False when it cannot
// be opened; the log then stays closed.
bool OpenLog(const char* path);
void CloseLog();
// True while a log is open and has not failed.
bool LogIsWritable();

// Formats one line printf-style and appends it with a line break.
void LogLine(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Appends the four lines "Module: ", "Method: ", "Type: " (the category's
// printed name) and "Factor: " of a failure record.
void LogException(const koyo::CPDFException& record);

}  // namespace kanafix
