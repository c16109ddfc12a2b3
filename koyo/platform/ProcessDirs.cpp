#include "koyo/platform/ProcessDirs.h"

#include <mutex>

namespace koyo::platform {

namespace {
std::mutex g_mutex;
std::string g_temp;
std::string g_cmap;
std::string g_afm;
}  // namespace

void SetProcessTempDirectory(const std::string& dir) {
  std::lock_guard<std::mutex> guard(g_mutex);
  g_temp = dir;
}
std::string ProcessTempDirectory() {
  std::lock_guard<std::mutex> guard(g_mutex);
  return g_temp;
}
void SetProcessCMapDirectory(const std::string& dir) {
  std::lock_guard<std::mutex> guard(g_mutex);
  g_cmap = dir;
}
std::string ProcessCMapDirectory() {
  std::lock_guard<std::mutex> guard(g_mutex);
  return g_cmap;
}
void SetProcessAFMDirectory(const std::string& dir) {
  std::lock_guard<std::mutex> guard(g_mutex);
  g_afm = dir;
}
std::string ProcessAFMDirectory() {
  std::lock_guard<std::mutex> guard(g_mutex);
  return g_afm;
}

}  // namespace koyo::platform
