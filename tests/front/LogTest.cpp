#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "front/DriverMessage.h"
#include "front/Log.h"
#include "koyo/object/CPDFException.h"

namespace fs = std::filesystem;

namespace kanafix {
namespace {

class LogTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "logXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = (dir_ / "kanafix.log").string();
  }
  void TearDown() override {
    CloseLog();
    fs::remove_all(dir_);
  }
  std::string Content() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir_;
  std::string path_;
};

TEST_F(LogTest, AppendsFlushedLinesToAnExistingFile) {
  std::ofstream(path_) << "earlier run\n";
  ASSERT_TRUE(OpenLog(path_.c_str()));
  LogLine("%%%%[ Error: cannot get PDF Page: %d ]%%%%", 1);
  // Flushed at once: visible before the log is closed.
  EXPECT_EQ(Content(), "earlier run\n%%[ Error: cannot get PDF Page: 1 ]%%\n");
}

TEST_F(LogTest, ClosedOrUnopenableLogWritesNothing) {
  LogLine("dropped");
  EXPECT_FALSE(fs::exists(path_));
  ASSERT_TRUE(OpenLog(path_.c_str()));
  CloseLog();
  LogLine("dropped too");
  EXPECT_EQ(Content(), "");
  EXPECT_FALSE(OpenLog(dir_.c_str()));  // a directory cannot be opened
  EXPECT_FALSE(LogIsWritable());
  LogLine("nowhere");
  EXPECT_FALSE(OpenLog((dir_ / "missing" / "x.log").c_str()));
  EXPECT_FALSE(OpenLog(nullptr));
}

TEST_F(LogTest, LongLinesAreCutToTheLineBuffer) {
  ASSERT_TRUE(OpenLog(path_.c_str()));
  std::string longText(5000, 'x');
  LogLine("[%s]", longText.c_str());
  LogLine("next");
  std::string expect = "[" + std::string(kLogLineSize - 2, 'x') + "\nnext\n";
  EXPECT_EQ(Content(), expect);
}

TEST_F(LogTest, DumpsTheFourFieldsOfARecord) {
  ASSERT_TRUE(OpenLog(path_.c_str()));
  LogException(koyo::CPDFException("CPDFHeader", "Serialize", 4, "invalidheader: GIF89a"));
  koyo::CPDFException empty;
  LogException(empty);
  koyo::CPDFException odd("M", "N", 7, "f");
  LogException(odd);
  EXPECT_EQ(Content(),
            "Module: CPDFHeader\nMethod: Serialize\nType: Invalid Format\nFactor: invalidheader: GIF89a\n"
            "Module: \nMethod: \nType: \nFactor: \n"
            "Module: M\nMethod: N\nType: \nFactor: f\n");
}

TEST(DriverMessage, FormatsAndCutsAtTheMessageBuffer) {
  std::string message = "old";
  SetDriverMessage(message, "cannot open PDF Document: %s", "/tmp/in.pdf");
  EXPECT_EQ(message, "cannot open PDF Document: /tmp/in.pdf");
  std::string longPath(10000, 'p');
  SetDriverMessage(message, "file not found: %s", longPath.c_str());
  ASSERT_EQ(message.size(), kDriverMessageSize - 1);
  EXPECT_EQ(message.substr(0, 17), "file not found: p");
  EXPECT_EQ(message.find_first_not_of('p', 16), std::string::npos);
}

}  // namespace
}  // namespace kanafix
