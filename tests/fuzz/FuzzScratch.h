// The scratch folder of a fuzz target: one private temporary folder per
// process, where each input is written to a file before the library opens it,
// and the font configuration that makes font lookups see only the fixture
// fonts, so that runs are fast and give the same result on every machine.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzCheck.h"

namespace koyo::fuzz {

// The folder, created on first use and removed when the process ends.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "kanafix-fuzz-XXXXXX").string();
    Check(::mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made", pattern);
    return std::filesystem::path(pattern);
  }();
  static const struct Remover {
    ~Remover() {
      std::error_code ec;
      std::filesystem::remove_all(dir, ec);
    }
  } remover;
  return dir;
}

// Points fontconfig at the configuration listing only the fixture fonts
// (compiled in as KOYO_FUZZ_FONTS_CONF). Must run before the first lookup.
inline void UseFixtureFonts() {
#ifdef KOYO_FUZZ_FONTS_CONF
  static const bool done = [] {
    ::setenv("FONTCONFIG_FILE", KOYO_FUZZ_FONTS_CONF, 1);
    return true;
  }();
  (void)done;
#endif
}

inline void WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  Check(static_cast<bool>(out), "the input can be written to the scratch folder", path.string());
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names in the folder, sorted.
inline std::vector<std::string> NamesIn(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += name + "\n";
  return text;
}

}  // namespace koyo::fuzz
