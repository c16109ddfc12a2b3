#include "koyo/platform/DirectoryList.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace koyo::platform {

bool ListFiles(const std::string& dir, std::vector<std::string>& names) {
  names.clear();
  std::unique_ptr<DIR, int (*)(DIR*)> handle(opendir(dir.c_str()), closedir);
  if (!handle) return false;
  std::string base = dir;
  if (!base.empty() && base.back() != '/') base += '/';
  while (dirent* entry = readdir(handle.get())) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    if (stat((base + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return true;
}

}  // namespace koyo::platform
