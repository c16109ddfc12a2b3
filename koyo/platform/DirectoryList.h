// Lists the files of a directory, for the resource lookups that read every
// file of a configured folder.
#pragma once
#include <string>
#include <vector>

namespace koyo::platform {

// The names (not paths) of the entries of dir that are not directories, in
// ascending byte order. False when the directory cannot be read.
bool ListFiles(const std::string& dir, std::vector<std::string>& names);

}  // namespace koyo::platform
