#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "koyo/object/FileLoad.h"
#include "koyo/object/FileSave.h"
#include "koyo/object/NumberText.h"
#include "koyo/object/StrLoad.h"
#include "koyo/object/StrSave.h"
#include "TempFileFixture.h"

namespace koyo {
namespace {

using test::ScratchDir;

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

TEST(FileLoadTest, WindowBoundsPositionsAndSize) {
  ScratchDir dir;
  std::string bytes = Pattern(1000);
  std::string path = dir.Write("win.bin", bytes);

  FileLoad in;
  ASSERT_TRUE(in.Open(path.c_str(), "rb", 100, -1));
  EXPECT_EQ(in.Size(), 900);
  EXPECT_EQ(in.Tell(), 0);
  EXPECT_EQ(in.Get(), static_cast<unsigned char>(bytes[100]));
  EXPECT_EQ(in.Seek(900), 0);
  EXPECT_EQ(in.Get(), -1);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(in.Seek(901), -1);
  EXPECT_EQ(in.Seek(-1), -1);
  EXPECT_EQ(in.Seek(899), 0);
  EXPECT_EQ(in.Get(), static_cast<unsigned char>(bytes[999]));

  // A bounded window stops reading at its end; one longer than the file is cut.
  FileLoad part;
  ASSERT_TRUE(part.Open(path.c_str(), "rb", 10, 50, 16));
  char buf[200];
  EXPECT_EQ(part.Read(buf, sizeof buf), 50);
  EXPECT_EQ(std::string(buf, 50), bytes.substr(10, 50));
  EXPECT_TRUE(part.AtEnd());
  ASSERT_TRUE(part.Open(path.c_str(), "rb", 990, 500));
  EXPECT_EQ(part.Size(), 10);
  ASSERT_TRUE(part.Open(path.c_str(), "rb", 2000, -1));
  EXPECT_EQ(part.Size(), 0);
  EXPECT_EQ(part.Get(), -1);

  // ReadBlock takes the buffered bytes first, then reads the source directly.
  ASSERT_TRUE(part.Open(path.c_str(), "rb", 0, 100, 8));
  EXPECT_EQ(part.Get(), 'a');
  char block[300];
  EXPECT_EQ(part.ReadBlock(block, sizeof block), 99);
  EXPECT_EQ(std::string(block, 99), bytes.substr(1, 99));

  FileLoad missing;
  EXPECT_FALSE(missing.Open(dir.Path("nope").c_str()));
  EXPECT_TRUE(missing.Error());
  EXPECT_FALSE(missing.ErrorText().empty());
  EXPECT_EQ(missing.Tell(), -1);
}

// Seeks land on the right byte whether the place is still in the buffer, was
// read past by a direct block read, or lies outside what was ever buffered.
TEST(FileLoadTest, SeeksInsideAndOutsideTheBuffer) {
  ScratchDir dir;
  std::string bytes = Pattern(300);
  std::string path = dir.Write("seek.bin", bytes);
  FileLoad in;
  ASSERT_TRUE(in.Open(path.c_str(), "rb", 50, -1, 8));
  auto byteAt = [&](int64_t p) { return static_cast<unsigned char>(bytes[static_cast<size_t>(50 + p)]); };
  EXPECT_EQ(in.Get(), byteAt(0));  // buffers window bytes 0..7
  for (int64_t p : {5, 0, 7, 3}) {
    ASSERT_EQ(in.Seek(p), 0);
    EXPECT_EQ(in.Tell(), p);
    EXPECT_EQ(in.Get(), byteAt(p)) << p;
  }
  ASSERT_EQ(in.Seek(8), 0);  // just past the buffer
  EXPECT_EQ(in.Get(), byteAt(8));
  // A block read takes the rest of the buffer and reads on past it directly;
  // the buffer's old bytes must not be served for the places after them.
  ASSERT_EQ(in.Seek(100), 0);
  EXPECT_EQ(in.Get(), byteAt(100));  // buffers 100..107
  char block[40];
  ASSERT_EQ(in.ReadBlock(block, sizeof block), 40);
  EXPECT_EQ(std::string(block, 40), bytes.substr(151, 40));
  EXPECT_EQ(in.Tell(), 141);
  for (int64_t p : {135, 102, 141, 140}) {
    ASSERT_EQ(in.Seek(p), 0);
    EXPECT_EQ(in.Tell(), p);
    EXPECT_EQ(in.Get(), byteAt(p)) << p;
  }
  // Back and forth between places further apart than the buffer.
  for (int64_t p : {249, 0, 200, 1}) {
    ASSERT_EQ(in.Seek(p), 0);
    EXPECT_EQ(in.Get(), byteAt(p)) << p;
  }
  EXPECT_EQ(in.Get(), byteAt(2));
}

// The same input through a file and through memory, with several buffer sizes.
class BothLoads : public ::testing::TestWithParam<int> {
protected:
  std::unique_ptr<StreamLoad> OpenOn(const std::string& bytes) {
    data_ = bytes;
    if (GetParam() == 0) {
      auto f = std::make_unique<FileLoad>();
      path_ = dir_.Write("in.bin", bytes);
      EXPECT_TRUE(f->Open(path_.c_str(), "rb", 0, -1, buffer_));
      return f;
    }
    auto s = std::make_unique<StrLoad>();
    EXPECT_TRUE(s->Open(data_.data(), static_cast<int64_t>(data_.size()), buffer_));
    return s;
  }
  ScratchDir dir_;
  std::string path_, data_;
  int32_t buffer_ = 0;
};

TEST_P(BothLoads, FindAcrossBlockBoundaries) {
  const std::string word = "endstream";
  // Places that end just before, exactly at, straddle and start at a 4096 boundary,
  // and one well inside the second block.
  for (int64_t at : {0, 4086, 4087, 4088, 4091, 4095, 4096, 8191, 9000}) {
    for (int32_t buffer : {0, 7, 5000}) {
      buffer_ = buffer;
      std::string bytes(static_cast<size_t>(at) + 200, 'x');
      // A near miss before the match must not be taken.
      if (at > 20) bytes.replace(static_cast<size_t>(at) - 12, 8, "endstrea");
      bytes.replace(static_cast<size_t>(at), word.size(), word);
      auto in = OpenOn(bytes);
      EXPECT_EQ(in->Find(word.data(), 9), at) << "at " << at << " buffer " << buffer;
      // Searching from a later position finds nothing.
      ASSERT_EQ(in->Seek(at + 1), 0);
      EXPECT_EQ(in->Find(word.data(), 9), -1);
    }
  }
  // A pattern cut off by the end of the input is not a match.
  auto in = OpenOn(std::string(4090, 'y') + "endstrea");
  EXPECT_EQ(in->Find(word.data(), 9), -1);
  // The search starts at the current position and counts positions as Tell does.
  in = OpenOn("endstream endstream");
  ASSERT_EQ(in->Seek(3), 0);
  EXPECT_EQ(in->Find(word.data(), 9), 10);
}

TEST_P(BothLoads, GetLineEndsAndRoom) {
  char line[64];
  auto in = OpenOn("abc\r\nd");
  EXPECT_EQ(in->GetLine(line, sizeof line, true, false), 3);
  EXPECT_STREQ(line, "abc");
  EXPECT_EQ(in->Get(), 'd');

  in = OpenOn("abc\r\nd\rxy\nz");
  EXPECT_EQ(in->GetLine(line, sizeof line, false, false), 5);
  EXPECT_STREQ(line, "abc\r\n");
  EXPECT_EQ(in->GetLine(line, sizeof line, false, false), 2);
  EXPECT_STREQ(line, "d\r");
  EXPECT_EQ(in->GetLine(line, sizeof line, true, false), 2);
  EXPECT_STREQ(line, "xy");
  EXPECT_EQ(in->GetLine(line, sizeof line, true, false), 1);
  EXPECT_STREQ(line, "z");
  EXPECT_EQ(in->GetLine(line, sizeof line, true, false), 0);

  // Empty lines: kept as empty results, or passed over.
  in = OpenOn("\r\n\n\rq\n");
  EXPECT_EQ(in->GetLine(line, sizeof line, true, false), 0);
  EXPECT_EQ(in->Get(), '\n');
  in = OpenOn("\r\n\n\rq\n");
  EXPECT_EQ(in->GetLine(line, sizeof line, false, true), 2);
  EXPECT_STREQ(line, "q\n");

  // Never more than size - 1 bytes; the rest stays in the input.
  in = OpenOn("abcdefgh\n");
  EXPECT_EQ(in->GetLine(line, 4, true, false), 3);
  EXPECT_STREQ(line, "abc");
  EXPECT_EQ(in->Get(), 'd');
}

TEST_P(BothLoads, TokensCommentsAndUnget) {
  buffer_ = 3;  // small buffer: ungetting crosses refills
  auto in = OpenOn("<</Type%c\r\n/Page>> 12{x}(s)");
  char tok[StreamLoad::kTokenSize];
  std::string seen;
  while (in->GetToken(tok, sizeof tok)) seen += std::string("|") + tok;
  EXPECT_EQ(seen, "|<|<|/|Type|/|Page|>|>|12{x}|(|s|)");

  in = OpenOn("  %one\r\n%two\n  7");
  in->SkipWhiteAndComments();
  EXPECT_EQ(in->Get(), '7');

  in = OpenOn("%comment text\r\nrest");
  char comment[8];
  EXPECT_EQ(in->ReadComment(comment, sizeof comment), 13);
  EXPECT_STREQ(comment, "%commen");
  EXPECT_EQ(in->Get(), '\r');
  EXPECT_EQ(in->ReadComment(nullptr, 0), 0);

  in = OpenOn("0123456789");
  char buf[8];
  EXPECT_EQ(in->Read(buf, 8), 8);
  in->Unget(6);
  EXPECT_EQ(in->Tell(), 2);
  EXPECT_EQ(in->Peek(), '2');
  EXPECT_EQ(in->Next(), '3');

  // A token is at most 255 bytes; the rest becomes the next token.
  in = OpenOn(std::string(300, '7') + " 8");
  ASSERT_NE(in->GetToken(tok, sizeof tok), nullptr);
  EXPECT_EQ(std::strlen(tok), 255u);
  ASSERT_NE(in->GetToken(tok, sizeof tok), nullptr);
  EXPECT_EQ(std::string(tok), std::string(45, '7'));

  in = OpenOn("  true 2.9 x");
  bool b = false;
  double d = 0;
  int32_t i = 5;
  EXPECT_TRUE(in->ExtractBool(b));
  EXPECT_TRUE(b);
  EXPECT_EQ(in->GCount(), 4);
  EXPECT_TRUE(in->ExtractReal(d));
  EXPECT_DOUBLE_EQ(d, 2.9);
  EXPECT_TRUE(in->ExtractInt(i));
  EXPECT_EQ(i, 0);
  EXPECT_FALSE(in->ExtractInt(i));
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, BothLoads, ::testing::Values(0, 2),
                         [](const auto& info) { return info.param == 0 ? "File" : "Str"; });

// Windows beyond 2 GiB: positions are 64-bit. The file is sparse, so it costs no
// disk space.
TEST(FileLoadTest, WindowBeyondTwoGigabytes) {
  ScratchDir dir;
  std::string path = dir.Write("big.bin", "");
  const int64_t start = (int64_t{1} << 31) + (int64_t{1} << 29);  // 2.5 GiB
  std::error_code ec;
  std::filesystem::resize_file(path, static_cast<uintmax_t>(start + 8192), ec);
  if (ec) GTEST_SKIP() << "cannot make a sparse file here: " << ec.message();
  {
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fseeko(f, static_cast<off_t>(start + 5000), SEEK_SET), 0);
    std::fputs("endstream", f);
    std::fclose(f);
  }
  FileLoad in;
  ASSERT_TRUE(in.Open(path.c_str(), "rb", start, -1));
  EXPECT_EQ(in.Size(), 8192);
  EXPECT_EQ(in.Find("endstream", 9), 5000);
  ASSERT_TRUE(in.Open(path.c_str(), "rb", 0, -1));
  EXPECT_EQ(in.Size(), start + 8192);
  ASSERT_EQ(in.Seek(start + 5000), 0);
  EXPECT_EQ(in.Get(), 'e');
  EXPECT_EQ(in.Tell(), start + 5001);
}

TEST(FileSaveTest, BufferedWritesFormatsAndAppending) {
  ScratchDir dir;
  std::string path = dir.Path("out.txt");
  {
    FileSave out;
    ASSERT_TRUE(out.Open(path.c_str(), "wb", 16));
    out.WriteString("<<").Apply(EndLine);
    out.WriteInt(-42).Put(' ').WriteReal(2.5).Put(' ').WriteBool(false);
    EXPECT_EQ(out.Tell(), 4 + 13);
    std::string longText(600, 'L');
    out.Format("[%s]", longText.c_str());  // longer than the format buffer: written whole
    std::string big(100, 'B');
    out.Write(big.data(), static_cast<int64_t>(big.size()));
    EXPECT_EQ(out.Tell(), 4 + 13 + 602 + 100);
    out.Close();
    EXPECT_FALSE(out.Error());
  }
  std::string expect = "<<\r\n-42 2.5 false[" + std::string(600, 'L') + "]" + std::string(100, 'B');
  EXPECT_EQ(ScratchDir::ReadAll(path), expect);

  // Opening an existing file positions at its end.
  FileSave again;
  ASSERT_TRUE(again.Open(path.c_str(), "r+b"));
  EXPECT_EQ(again.Tell(), static_cast<int64_t>(expect.size()));
  again.WriteString("Z");
  EXPECT_EQ(again.Size(), static_cast<int64_t>(expect.size()));  // "Z" still pending
  ASSERT_TRUE(again.Flush());
  EXPECT_EQ(again.Size(), static_cast<int64_t>(expect.size()) + 1);
  ASSERT_EQ(again.Seek(0), 0);
  again.Put('#');
  again.Close();
  std::string got = ScratchDir::ReadAll(path);
  EXPECT_EQ(got.front(), '#');
  EXPECT_EQ(got.back(), 'Z');

  FileSave bad;
  EXPECT_FALSE(bad.Open(dir.Path("no/such/dir/x").c_str()));
  EXPECT_TRUE(bad.Error());
}

TEST(StrSaveTest, CollectsEverythingWrittenAcrossTheMappingThreshold) {
  StrSave out;
  ASSERT_TRUE(out.Open(64, 1000));
  std::string expect;
  for (int i = 0; i < 300; ++i) {
    out.WriteInt(i).Apply(EndLine);
    expect += std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(out.Tell(), static_cast<int64_t>(expect.size()));
  ASSERT_EQ(out.Length(), static_cast<int64_t>(expect.size()));
  EXPECT_EQ(std::string(out.Data(), expect.size()), expect);
  EXPECT_FALSE(out.Error());
  out.Close();
  EXPECT_EQ(std::string(out.Data()), expect);  // kept until the next Open
  ASSERT_TRUE(out.Open());
  EXPECT_STREQ(out.Data(), "");
}

TEST(NumberTextTest, ConversionsFollowTheCLibraryRules) {
  struct Case {
    const char* text;
    double real;
    int32_t integer;
  };
  const Case cases[] = {
      {"7", 7, 7},         {"2.9", 2.9, 2},       {"-3.7", -3.7, -3},  {"+5", 5, 5},
      {"-", 0, 0},         {"1.5e2", 150, 1},     {".5", 0.5, 0},      {"-.25", -0.25, 0},
      {"5.", 5, 5},        {"12abc", 12, 12},     {"abc", 0, 0},       {"--1", 0, 0},
      {"4294967296", 4294967296.0, INT32_MAX},    {"-99999999999", -99999999999.0, INT32_MIN},
      {"1e400", 3.4028234663852886e38, 1},        {"1e-400", 0, 1},    {"nan", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(TextToDouble(c.text), c.real) << c.text;
    EXPECT_EQ(TextToLong32(c.text), c.integer) << c.text;
  }
  struct Out {
    double value;
    const char* text;
  };
  const Out outs[] = {{2.5, "2.5"},       {3.0, "3"},           {0.1, "0.1"},      {-0.25, "-0.25"},
                      {1.0 / 3, "0.333333"}, {100000.5, "100000.5"}, {0.0000004, "0"}, {1e20, "100000000000000000000"}};
  char buf[64];
  for (const Out& o : outs) {
    FormatReal(o.value, buf, sizeof buf);
    EXPECT_STREQ(buf, o.text) << o.value;
  }
  // The buffer is never overrun.
  EXPECT_EQ(FormatReal(123456.5, buf, 4), 3u);
  EXPECT_STREQ(buf, "123");
}

}  // namespace
}  // namespace koyo
