// Test helper: a scratch directory with files written from byte strings, removed
// at the end of the test.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace koyo::test {

class ScratchDir {
public:
  ScratchDir() {
    char tmpl[] = "/tmp/koyo-object-XXXXXX";
    const char* d = ::mkdtemp(tmpl);
    if (d) dir_ = d;
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::string p = Path(name);
    std::FILE* f = std::fopen(p.c_str(), "wb");
    EXPECT_NE(f, nullptr) << p;
    if (f) {
      EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
      std::fclose(f);
    }
    return p;
  }
  static std::string ReadAll(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
  }
  bool ok() const { return !dir_.empty(); }

private:
  std::string dir_;
};

}  // namespace koyo::test
