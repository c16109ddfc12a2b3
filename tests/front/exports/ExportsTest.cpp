// KanafixInitialize and DoKanafix called through libkanafix.so, as a host
// application calls them: the process-wide state, the version check, the
// copy to the output path and the caller's error buffer.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "front/kanafix.h"
#include "tests/document/PdfFixture.h"
#include "tests/front/RepairSupport.h"

namespace {

using kanafix::test::ReadBytes;

class Exports : public ::testing::Test {
protected:
  void SetUp() override {
    original_ = ReadBytes(kanafix::test::ExamplePath("truetype-ipa.pdf"));
    ASSERT_FALSE(original_.empty());
    input_ = dir_.Write("in.pdf", original_);
    std::memset(error_, '#', sizeof error_);
  }
  // The caller's buffer as a string (it must have been terminated inside).
  std::string ErrorText() const {
    const void* end = std::memchr(error_, '\0', KANAFIX_ERROR_TEXT_SIZE);
    return end ? std::string(error_) : std::string("<unterminated>");
  }

  koyo::test::ScratchDir dir_;
  std::string original_;
  std::string input_;
  // Longer than the documented size, to see that nothing is written past it.
  char error_[KANAFIX_ERROR_TEXT_SIZE + 16];
};

TEST_F(Exports, NothingIsLoggedBeforeInitialization) {
  const std::string log = dir_.Path("kanafix.log");
  const std::string missing = dir_.Path("missing.pdf");
  EXPECT_EQ(DoKanafix(missing.c_str(), nullptr, error_, "1.2.0"), 1);
  EXPECT_EQ(ErrorText(), "file not found: " + missing);
  ASSERT_EQ(KanafixInitialize(log.c_str(), nullptr), 1);
  // The earlier failure was not kept to be written later.
  EXPECT_EQ(ReadBytes(log), "");
  EXPECT_EQ(DoKanafix(missing.c_str(), nullptr, error_, "1.2.0"), 1);
  EXPECT_EQ(ReadBytes(log), "%%[ Error: file not found: " + missing + " ]%%\n");
}

TEST_F(Exports, RepairWorksWithoutInitialization) {
  const std::string output = dir_.Path("out.pdf");
  EXPECT_EQ(DoKanafix(input_.c_str(), output.c_str(), error_, "1.2.0"), 0);
  EXPECT_EQ(error_[0], '#') << "the buffer is not touched on success";
  const std::string repaired = ReadBytes(output);
  EXPECT_GT(repaired.size(), original_.size());
  EXPECT_EQ(repaired.compare(0, original_.size(), original_), 0);
  EXPECT_EQ(ReadBytes(input_), original_);
}

TEST_F(Exports, ASecondInitializationChangesNothing) {
  const std::string first = dir_.Path("first.log");
  const std::string second = dir_.Path("second.log");
  // A temporary directory no library instance accepts makes every repair fail
  // in a way that shows which directory is stored.
  const std::string unusable = "/" + std::string(5000, 't');
  ASSERT_EQ(KanafixInitialize(first.c_str(), unusable.c_str()), 1);
  EXPECT_EQ(KanafixInitialize(second.c_str(), ""), 1);
  EXPECT_EQ(DoKanafix(input_.c_str(), nullptr, error_, "1.2.0"), 1);
  EXPECT_EQ(ErrorText(), "cannot create PDFDriver");
  EXPECT_EQ(ReadBytes(first), "cannot initialize libkoyo\n");
  EXPECT_EQ(ReadBytes(second), "");
  EXPECT_EQ(ReadBytes(input_), original_);
}

TEST_F(Exports, InitializationWithoutLogOrDirectory) {
  ASSERT_EQ(KanafixInitialize(nullptr, nullptr), 1);
  EXPECT_EQ(DoKanafix(input_.c_str(), nullptr, nullptr, "1.2.0"), 0);
  EXPECT_GT(ReadBytes(input_).size(), original_.size());
}

TEST_F(Exports, VersionsOtherThanTheInterfaceVersionAreRefusedAsGiven) {
  const std::string log = dir_.Path("kanafix.log");
  ASSERT_EQ(KanafixInitialize(log.c_str(), nullptr), 1);
  const std::string output = dir_.Path("out.pdf");
  for (const char* version : {"1.2.0 ", "1.2", "", "1.2.1", "1.2.0\n", " 1.2.0"}) {
    SCOPED_TRACE(std::string("version \"") + version + "\"");
    std::memset(error_, '#', sizeof error_);
    EXPECT_EQ(DoKanafix(input_.c_str(), output.c_str(), error_, version), 1);
    EXPECT_EQ(ErrorText(), std::string("Invalid Version: ") + version);
    EXPECT_EQ(DoKanafix(input_.c_str(), output.c_str(), nullptr, version), 1);
    // Refused before anything happens: no copy, no log.
    EXPECT_EQ(ReadBytes(output), "");
  }
  EXPECT_EQ(ReadBytes(log), "");
  EXPECT_EQ(ReadBytes(input_), original_);
  // A null version skips the check.
  EXPECT_EQ(DoKanafix(input_.c_str(), output.c_str(), error_, nullptr), 0);
  EXPECT_GT(ReadBytes(output).size(), original_.size());
}

// An output path naming the input under another spelling must not be copied
// onto itself: that would empty the input before reading it.
TEST_F(Exports, OutputThatIsTheInputUnderAnotherSpellingIsRefused) {
  const std::string log = dir_.Path("kanafix.log");
  ASSERT_EQ(KanafixInitialize(log.c_str(), nullptr), 1);
  const std::string dir = input_.substr(0, input_.rfind('/'));
  for (const std::string& other : {dir + "/./in.pdf", dir + "//in.pdf", dir + "/../" +
                                                                       dir.substr(dir.rfind('/') + 1) + "/in.pdf"}) {
    SCOPED_TRACE(other);
    EXPECT_EQ(DoKanafix(input_.c_str(), other.c_str(), error_, "1.2.0"), 1);
    const std::string text = ErrorText();
    EXPECT_EQ(text.rfind("system error: ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::strlen("system error: ")) << "no system message";
    EXPECT_EQ(ReadBytes(input_), original_);
  }
  EXPECT_EQ(ReadBytes(log), "");
}

TEST_F(Exports, PathsLongerThanThePlatformAllowsAreRefused) {
  const std::string log = dir_.Path("kanafix.log");
  ASSERT_EQ(KanafixInitialize(log.c_str(), nullptr), 1);
  const std::string tooLong = dir_.Path(std::string(PATH_MAX, 'p') + ".pdf");
  const std::string output = dir_.Path("out.pdf");
  EXPECT_EQ(DoKanafix(tooLong.c_str(), output.c_str(), error_, "1.2.0"), 1);
  EXPECT_EQ(ErrorText().rfind("path too long", 0), 0u) << ErrorText();
  EXPECT_EQ(DoKanafix(input_.c_str(), tooLong.c_str(), error_, "1.2.0"), 1);
  EXPECT_EQ(ErrorText().rfind("path too long", 0), 0u) << ErrorText();
  EXPECT_EQ(ReadBytes(input_), original_);
  EXPECT_EQ(ReadBytes(output), "");
}

// The longest path accepted makes a message longer than the buffer: it is cut
// to the documented size, terminated, and nothing past it is written.
TEST_F(Exports, LongMessagesAreCutToTheDocumentedSize) {
  std::string path = dir_.Path("");
  path += std::string(PATH_MAX - 1 - path.size(), 'q');
  ASSERT_EQ(path.size(), static_cast<size_t>(PATH_MAX - 1));
  EXPECT_EQ(DoKanafix(path.c_str(), nullptr, error_, "1.2.0"), 1);
  const std::string text = ErrorText();
  EXPECT_EQ(text.size(), static_cast<size_t>(KANAFIX_ERROR_TEXT_SIZE - 1));
  EXPECT_EQ(text, ("file not found: " + path).substr(0, KANAFIX_ERROR_TEXT_SIZE - 1));
  for (size_t i = KANAFIX_ERROR_TEXT_SIZE; i < sizeof error_; ++i) EXPECT_EQ(error_[i], '#') << i;
}

TEST(ExportsLibrary, ExportsExactlyTheTwoFunctions) {
  KANAFIX_REQUIRE_TOOL("nm");
  const std::string lib = std::string(KOYO_BINARY_DIR) + "/libkanafix.so";
  kanafix::test::ToolRun run =
      kanafix::test::RunTool("nm -D --defined-only " + kanafix::test::Quote(lib) + " | awk '$2 ~ /^[TDBRVWiu]$/ {print $3}' | sort");
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "DoKanafix\nKanafixInitialize\n");
}

}  // namespace
