// Bounded printf-style formatting: never writes past the buffer, always
// terminates it, and cuts text that does not fit.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <string>

namespace koyo::platform {

// Formats into buf (size bytes, terminator included). Returns the length stored,
// which is less than the full length when the text was cut.
size_t FormatBounded(char* buf, size_t size, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));
size_t FormatBoundedV(char* buf, size_t size, const char* fmt, va_list ap);

// Formats into a string of at most limit - 1 bytes.
std::string FormatLimited(size_t limit, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

}  // namespace koyo::platform
