// The one-line message a repair run leaves for its caller, formatted into a
// bounded buffer.
#pragma once
#include <cstddef>
#include <string>

namespace kanafix {

// Size of the buffer a driver message is formatted into (longer text is cut to
// one byte less).
inline constexpr size_t kDriverMessageSize = 4096;

// Formats printf-style and makes the result the new message text.
void SetDriverMessage(std::string& message, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

}  // namespace kanafix
