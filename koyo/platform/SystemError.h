// The operating system's text for an error number (errno).
#pragma once
#include <string>

namespace koyo::platform {

// Text for the calling thread's last error (errno).
std::string LastErrorText();
// Text for a given error number; empty for 0.
std::string ErrorText(int err);
// The calling thread's last error number.
int LastError();

}  // namespace koyo::platform
