#include "front/cli/CommandLine.h"

#include <gtest/gtest.h>

namespace kanafix::cli {
namespace {

TEST(CommandLine, UsageErrorsAreRefusedWithAMessage) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--json"},
      {"a.pdf", "b.pdf", "c.pdf"},
      {"-o", "out", "--in-place", "a.pdf"},
      {"-j", "0", "a.pdf"},
      {"-j", "257", "a.pdf"},
      {"-j", "2x", "a.pdf"},
      {"-j", "-1", "a.pdf"},
      {"--jobs=", "a.pdf"},
      {"-j"},
      {"a.pdf", "-o"},
      {"--log"},
      {"--bogus", "a.pdf"},
      {"-x", "a.pdf"},
      {"--json=yes", "a.pdf"},
      {"-nj2", "a.pdf"},
      {"-", "out.pdf"},
      {"", "out.pdf"},
  };
  for (const auto& args : cases) {
    CommandLine line;
    std::string error;
    std::string joined;
    for (const auto& a : args) joined += "[" + a + "]";
    EXPECT_FALSE(ParseCommandLine(args, &line, &error)) << joined;
    EXPECT_FALSE(error.empty()) << joined;
  }
}

TEST(CommandLine, PositionalsAreInputOutputOnlyWithoutFolderInPlaceOrDryRun) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> inputs;
    std::string output;
  };
  const Case cases[] = {
      {{"a.pdf"}, {"a.pdf"}, ""},
      {{"a.pdf", "b.pdf"}, {"a.pdf"}, "b.pdf"},
      {{"-o", "out", "a.pdf", "b.pdf"}, {"a.pdf", "b.pdf"}, ""},
      {{"--in-place", "a.pdf", "b.pdf", "c.pdf"}, {"a.pdf", "b.pdf", "c.pdf"}, ""},
      {{"--dry-run", "a.pdf", "b.pdf"}, {"a.pdf", "b.pdf"}, ""},
      {{"--list-fonts", "a.pdf", "b.pdf", "c.pdf"}, {"a.pdf", "b.pdf", "c.pdf"}, ""},
      // After "--" a name that starts with '-' is a file.
      {{"--", "-a.pdf", "--json"}, {"-a.pdf"}, "--json"},
  };
  for (const Case& c : cases) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(c.args, &line, &error)) << error;
    EXPECT_EQ(line.inputs, c.inputs);
    EXPECT_EQ(line.output, c.output);
  }
}

TEST(CommandLine, OptionValuesInEveryForm) {
  struct Case {
    std::vector<std::string> args;
    int jobs;
    std::string outputDir;
  };
  const Case cases[] = {
      {{"-j", "4", "-o", "out", "a.pdf"}, 4, "out"},
      {{"-j4", "-oout", "a.pdf"}, 4, "out"},
      {{"--jobs=256", "--output-dir=out/", "a.pdf"}, 256, "out/"},
      {{"--jobs", "1", "--output-dir", "o", "a.pdf"}, 1, "o"},
  };
  for (const Case& c : cases) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(c.args, &line, &error)) << error;
    EXPECT_EQ(line.jobs, c.jobs);
    EXPECT_EQ(line.outputDir, c.outputDir);
  }

  CommandLine line;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--log", "k.log", "--temp-dir=/t", "--json", "-n", "a.pdf"}, &line, &error));
  EXPECT_EQ(line.logPath, "k.log");
  EXPECT_EQ(line.tempDir, "/t");
  EXPECT_TRUE(line.tempDirGiven);
  EXPECT_TRUE(line.json);
  EXPECT_TRUE(line.dryRun);
  EXPECT_FALSE(line.inPlace);
}

TEST(CommandLine, HelpAndVersionWinOverAnythingAfterThem) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--help", "a", "b", "c"}, &line, &error));
  EXPECT_TRUE(line.help);
  ASSERT_TRUE(ParseCommandLine({"--version", "--bogus"}, &line, &error));
  EXPECT_TRUE(line.version);
  // An error before them is still an error.
  EXPECT_FALSE(ParseCommandLine({"--bogus", "--help"}, &line, &error));
}

}  // namespace
}  // namespace kanafix::cli
