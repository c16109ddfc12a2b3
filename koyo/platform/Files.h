// File operations of the operating system that the library needs: whole-file
// copy, temporary names, existence checks.
#pragma once
#include <cstdint>
#include <string>

namespace koyo::platform {

// The path separator and its text form.
inline constexpr char kPathSeparator = '/';

// Copies the regular file source over target (a regular file, replaced, or
// created when missing), using the kernel's copy where it can. Never waits on
// a FIFO. On failure returns false with errno set; a target that was cut short
// by the failed copy is removed, and one that is not a regular file is left
// alone.
bool CopyFile(const char* source, const char* target);

// The system's temporary directory: $TMPDIR when set and not empty, else /tmp.
std::string SystemTempDirectory();

// Makes a new empty file with a unique name "<dir>/<prefix>XXXXXX" and returns its
// name in out. dir null or empty means the system's temporary directory.
// False with errno set when no name could be made.
bool MakeTempFile(const char* dir, const char* prefix, std::string& out);

bool FileExists(const char* path);        // a regular file (or a link to one)
bool IsDirectory(const char* path);
bool RemoveFile(const char* path);
bool RenameFile(const char* from, const char* to);
int64_t FileSize(const char* path);       // -1 when it cannot be found out
// Cuts the file at path (or lengthens it with zeros) to size bytes. False with
// errno set on failure.
bool TruncateFile(const char* path, int64_t size);
// True when both paths name the same existing file (same device and inode),
// however they are spelled.
bool SameFile(const char* a, const char* b);
// Gives target the permission bits of source. False with errno set on failure.
bool CopyPermissions(const char* source, const char* target);

// The absolute path of an existing file with every link resolved; false when
// it cannot be found out.
bool RealPath(const char* path, std::string& out);
// The folder part of a path: everything before the last separator ("." when
// there is none, "/" for a file in the root).
std::string DirectoryOf(const std::string& path);

// The longest path the platform accepts (PATH_MAX, terminator included).
size_t MaxPathLength();

}  // namespace koyo::platform
