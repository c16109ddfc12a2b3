#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "koyo/platform/Files.h"
#include "koyo/platform/Format.h"
#include "koyo/platform/MappedFile.h"
#include "koyo/platform/SystemError.h"

namespace fs = std::filesystem;

namespace koyo::platform {
namespace {

class PlatformFiles : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "platXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
    return out;
  }
  fs::path dir_;
};

TEST_F(PlatformFiles, CopyReplacesTheTarget) {
  std::string big(300000, 'b');
  big[1234] = 'X';
  Write(Path("in"), big);
  Write(Path("out"), "old and longer content that must vanish entirely................");
  ASSERT_TRUE(CopyFile(Path("in").c_str(), Path("out").c_str()));
  EXPECT_EQ(Read(Path("out")), big);
  ASSERT_TRUE(CopyFile(Path("in").c_str(), Path("new").c_str()));
  EXPECT_EQ(Read(Path("new")), big);
}

TEST_F(PlatformFiles, CopyOntoItselfIsRefusedAndKeepsTheFile) {
  Write(Path("same"), "precious");
  EXPECT_FALSE(CopyFile(Path("same").c_str(), Path("same").c_str()));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(Read(Path("same")), "precious");
  // The same file under another name (a hard link) is refused too.
  fs::create_hard_link(Path("same"), Path("link"));
  EXPECT_FALSE(CopyFile(Path("same").c_str(), Path("link").c_str()));
  EXPECT_EQ(Read(Path("same")), "precious");
}

TEST_F(PlatformFiles, CopyFailuresLeaveNoTarget) {
  EXPECT_FALSE(CopyFile(Path("missing").c_str(), Path("out").c_str()));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(CopyFile(dir_.c_str(), Path("out").c_str()));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_TRUE(Names().empty());
}

// A FIFO on either side would make a blocking open wait forever for the other
// end; a target that is not a regular file must survive the refusal.
TEST_F(PlatformFiles, CopyRefusesFifosWithoutWaiting) {
  Write(Path("in"), "data");
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  alarm(10);
  EXPECT_FALSE(CopyFile(Path("pipe").c_str(), Path("out").c_str()));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_FALSE(CopyFile(Path("in").c_str(), Path("pipe").c_str()));
  alarm(0);
  EXPECT_TRUE(fs::is_fifo(Path("pipe")));
  EXPECT_FALSE(fs::exists(Path("out")));
}

TEST_F(PlatformFiles, CopyOverACharacterDeviceIsRefused) {
  Write(Path("in"), "data");
  if (::mknod(Path("null").c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "cannot make a device node here";
  }
  EXPECT_FALSE(CopyFile(Path("in").c_str(), Path("null").c_str()));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_TRUE(fs::is_character_file(Path("null")));
}

// A copy that fails halfway (here: the file size limit, as on a full disk)
// has already cut the old target short; what is left is removed.
TEST_F(PlatformFiles, CopyCutShortLeavesNoPartialTarget) {
  Write(Path("in"), std::string(100000, 'i'));
  Write(Path("out"), "old");
  pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    bool copied = CopyFile(Path("in").c_str(), Path("out").c_str());
    ::_exit(copied ? 1 : (errno == EFBIG ? 0 : 2));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the copy succeeded, 2: it failed without EFBIG";
  EXPECT_FALSE(fs::exists(Path("out")));
  EXPECT_EQ(Read(Path("in")), std::string(100000, 'i'));
}

TEST_F(PlatformFiles, TempNamesCarryThePrefixAndAreUnique) {
  std::string a, b;
  ASSERT_TRUE(MakeTempFile(dir_.c_str(), "lp", a));
  ASSERT_TRUE(MakeTempFile((dir_.string() + "/").c_str(), "lp", b));
  EXPECT_NE(a, b);
  for (const std::string& n : {a, b}) {
    EXPECT_EQ(fs::path(n).parent_path(), dir_);
    EXPECT_EQ(fs::path(n).filename().string().substr(0, 2), "lp");
    EXPECT_TRUE(FileExists(n.c_str()));
    EXPECT_EQ(FileSize(n.c_str()), 0);
  }
  std::string c;
  EXPECT_FALSE(MakeTempFile(Path("nodir").c_str(), "lp", c));
}

TEST_F(PlatformFiles, TempNamesDefaultToTmpdir) {
  const char* old = std::getenv("TMPDIR");
  std::string saved = old ? old : "";
  setenv("TMPDIR", dir_.c_str(), 1);
  std::string name;
  bool ok = MakeTempFile("", "lp", name);
  if (old) setenv("TMPDIR", saved.c_str(), 1); else unsetenv("TMPDIR");
  ASSERT_TRUE(ok);
  EXPECT_EQ(fs::path(name).parent_path(), dir_);
}

TEST_F(PlatformFiles, MappedFileResizeKeepsContent) {
  MappedFile m;
  ASSERT_TRUE(m.OpenTemp(dir_.c_str(), "lp", 5000, 0, true, false));
  for (int i = 0; i < 5000; ++i) EXPECT_EQ(m.View()[i], 0) << i;
  for (int i = 0; i < 5000; ++i) m.View()[i] = static_cast<char>(i % 251);
  ASSERT_TRUE(m.Resize(1 << 20, 0, false));
  EXPECT_EQ(m.Size(), 1 << 20);
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(m.View()[i], static_cast<char>(i % 251)) << i;
  m.View()[(1 << 20) - 1] = 'z';
  ASSERT_TRUE(m.Resize(4000, 0, false));
  for (int i = 0; i < 4000; ++i) ASSERT_EQ(m.View()[i], static_cast<char>(i % 251)) << i;
  std::string name = m.Name();
  m.Close();
  EXPECT_EQ(FileSize(name.c_str()), 4000);  // no delete-on-close: the file stays
}

TEST_F(PlatformFiles, MappedFileViewFromAnOffset) {
  std::string text(10000, '.');
  text[5000] = 'Q';
  Write(Path("data"), text);
  MappedFile m;
  ASSERT_TRUE(m.Open(Path("data").c_str(), 10000, 5000, false, false));
  EXPECT_EQ(m.View()[0], 'Q');
  m.Close();
  EXPECT_FALSE(m.Open(Path("absent").c_str(), 100, 0, false, false));
  EXPECT_FALSE(m.IsOpen());
}

TEST_F(PlatformFiles, DeleteOnCloseLeavesNoFile) {
  {
    MappedFile m;
    ASSERT_TRUE(m.OpenTemp(dir_.c_str(), "lp", 100000, 0, false, true));
    ASSERT_EQ(Names().size(), 1u);
    ASSERT_TRUE(m.Resize(200000, 0, false));
    m.Close();
    EXPECT_TRUE(Names().empty());
    // Reopening the object for a new file does not carry the old flag along.
    ASSERT_TRUE(m.Open(Path("kept").c_str(), 10, 0, true, true));
  }
  EXPECT_EQ(Names(), std::vector<std::string>{"kept"});
  {
    MappedFile m;
    ASSERT_TRUE(m.OpenTemp(dir_.c_str(), "lp", 4096, 0, false, true));
  }  // the destructor closes
  EXPECT_EQ(Names(), std::vector<std::string>{"kept"});
}

TEST(PlatformFormat, BoundedFormattingCutsLongText) {
  std::string longText(3000, 'w');
  char buf[64];
  std::memset(buf, '#', sizeof buf);
  size_t n = FormatBounded(buf, 16, "[%s]", longText.c_str());
  EXPECT_EQ(n, 15u);
  EXPECT_EQ(std::string(buf), "[wwwwwwwwwwwwww");
  EXPECT_EQ(buf[16], '#');  // nothing written past the size
  EXPECT_EQ(FormatBounded(buf, sizeof buf, "%d-%s", 7, "x"), 3u);
  EXPECT_STREQ(buf, "7-x");
  EXPECT_EQ(FormatBounded(buf, 0, "%s", "x"), 0u);
  std::string s = FormatLimited(1024, "%s", longText.c_str());
  EXPECT_EQ(s.size(), 1023u);
  EXPECT_EQ(FormatLimited(1024, "%s|%d", "ab", 5), "ab|5");
}

TEST(PlatformError, TextsOfErrorNumbers) {
  EXPECT_EQ(ErrorText(0), "");
  EXPECT_EQ(ErrorText(ENOENT), std::strerror(ENOENT));
  errno = EACCES;
  EXPECT_EQ(LastErrorText(), std::strerror(EACCES));
}

}  // namespace
}  // namespace koyo::platform
