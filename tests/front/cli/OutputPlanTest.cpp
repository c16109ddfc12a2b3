#include "front/cli/OutputPlan.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kanafix::cli {
namespace {

namespace fs = std::filesystem;

std::vector<PlannedFile> Plan(const std::vector<std::string>& inputs, const std::string& dir) {
  CommandLine line;
  line.inputs = inputs;
  line.outputDir = dir;
  std::vector<PlannedFile> files;
  std::string error;
  EXPECT_TRUE(PlanOutputs(line, &files, &error)) << error;
  return files;
}

TEST(OutputPlan, ClashingBaseNamesGetNumberedInInputOrder) {
  const auto files = Plan({"a/x.pdf", "b/x.pdf", "c/x.pdf", "d/x-2.pdf", "noext", "e/noext", ".hidden", "f/.hidden",
                           "g/y.tar.pdf", "y.tar.pdf"},
                          "out/");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"out/x.pdf", ""},         {"out/x-2.pdf", "x.pdf"},        {"out/x-3.pdf", "x.pdf"},
      {"out/x-2-2.pdf", "x-2.pdf"}, {"out/noext", ""},            {"out/noext-2", "noext"},
      {"out/.hidden", ""},       {"out/.hidden-2", ".hidden"},    {"out/y.tar.pdf", ""},
      {"out/y.tar-2.pdf", "y.tar.pdf"},
  };
  ASSERT_EQ(files.size(), expected.size());
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(files[i].output, expected[i].first) << i;
    EXPECT_EQ(files[i].renamedFrom, expected[i].second) << i;
    EXPECT_FALSE(files[i].inPlace);
  }
  // Same inputs, same names: the plan depends on nothing but the order.
  const auto again = Plan({"a/x.pdf", "b/x.pdf", "c/x.pdf", "d/x-2.pdf", "noext", "e/noext", ".hidden", "f/.hidden",
                           "g/y.tar.pdf", "y.tar.pdf"},
                          "out");
  for (size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].output, files[i].output);
}

TEST(OutputPlan, WithoutFolder) {
  CommandLine line;
  line.inputs = {"a.pdf"};
  std::vector<PlannedFile> files;
  std::string error;
  ASSERT_TRUE(PlanOutputs(line, &files, &error));
  EXPECT_EQ(files[0].output, "a.pdf");
  EXPECT_TRUE(files[0].inPlace);

  line.output = "b.pdf";
  ASSERT_TRUE(PlanOutputs(line, &files, &error));
  EXPECT_EQ(files[0].output, "b.pdf");
  EXPECT_FALSE(files[0].inPlace);
}

TEST(OutputPlan, InputWithoutFileNameIsRefused) {
  for (const char* input : {"dir/", "..", "a/."}) {
    CommandLine line;
    line.inputs = {"a.pdf", input};
    line.outputDir = "out";
    std::vector<PlannedFile> files;
    std::string error;
    EXPECT_FALSE(PlanOutputs(line, &files, &error)) << input;
    EXPECT_NE(error.find(input), std::string::npos) << error;
  }
}

class OutputPlanFiles : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kanafix-plan-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::create_directory(dir_ / "sub");
    for (const char* name : {"a.pdf", "b.pdf", "sub/a.pdf"}) std::ofstream(dir_ / name) << "%PDF-1.3\n";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string P(const char* name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(OutputPlanFiles, OutputThatIsItsOwnInputUnderAnotherNameIsInPlace) {
  std::vector<PlannedFile> files = {{P("a.pdf"), P("sub/../a.pdf"), "", false}};
  std::string error;
  ASSERT_TRUE(CheckPlanFiles(&files, &error)) << error;
  EXPECT_TRUE(files[0].inPlace);
}

TEST_F(OutputPlanFiles, WritesThatWouldHitAnotherInputOrOutputAreRefused) {
  struct Case {
    std::vector<PlannedFile> files;
    const char* why;
  };
  const Case cases[] = {
      // Output folder = the inputs' folder: b.pdf's output would be sub/a.pdf's input.
      {{{P("a.pdf"), P("sub/a.pdf"), "", false}, {P("sub/a.pdf"), P("sub/a-2.pdf"), "", false}}, "overwrite input"},
      // One file repaired in place and read as another input at the same time.
      {{{P("a.pdf"), P("a.pdf"), "", true}, {P("sub/../a.pdf"), P("sub/a-2.pdf"), "", false}}, "in place twice"},
      {{{P("b.pdf"), P("b.pdf"), "", true}, {P("./b.pdf"), P("./b.pdf"), "", true}}, "in place, same file"},
      // Two outputs that are one file (both exist).
      {{{P("a.pdf"), P("b.pdf"), "", false}, {P("sub/a.pdf"), P("sub/../b.pdf"), "", false}}, "same output"},
  };
  for (const Case& c : cases) {
    std::vector<PlannedFile> files = c.files;
    std::string error;
    EXPECT_FALSE(CheckPlanFiles(&files, &error)) << c.why;
    EXPECT_FALSE(error.empty()) << c.why;
  }
}

TEST_F(OutputPlanFiles, DistinctFilesPass) {
  std::vector<PlannedFile> files = {{P("a.pdf"), P("out-a.pdf"), "", false},
                                    {P("sub/a.pdf"), P("out-a-2.pdf"), "", false},
                                    {P("b.pdf"), P("b.pdf"), "", true}};
  std::string error;
  EXPECT_TRUE(CheckPlanFiles(&files, &error)) << error;
  EXPECT_FALSE(files[0].inPlace);
  EXPECT_FALSE(files[1].inPlace);
}

}  // namespace
}  // namespace kanafix::cli
