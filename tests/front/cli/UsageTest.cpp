#include "front/cli/Usage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "front/cli/CommandLine.h"

namespace kanafix::cli {
namespace {

std::set<std::string> Options(const std::string& text) {
  std::set<std::string> found;
  const std::regex option(R"((^|[\s,\[])(--?[a-z][a-z-]*))");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
    found.insert((*it)[2].str());
  }
  return found;
}

// The manual page as plain text: hyphens unescaped, font changes removed.
std::string ManualText() {
  std::ifstream in(std::string(KOYO_SOURCE_DIR) + "/docs/kanafix.1");
  std::stringstream s;
  s << in.rdbuf();
  std::string text = std::regex_replace(s.str(), std::regex(R"(\\-)"), "-");
  return std::regex_replace(text, std::regex(R"(\\f[BIRP]|\\fC[RBI])"), "");
}

TEST(Usage, HelpAndManualPageNameTheSameOptions) {
  const std::string manual = ManualText();
  ASSERT_FALSE(manual.empty());
  std::set<std::string> help = Options(HelpText());
  std::set<std::string> page = Options(manual);
  page.erase("--");  // the end of options, described in the page only
  // Suffixes of example names caught by the pattern are not options.
  for (auto it = page.begin(); it != page.end();) it = it->find("-rksj") != std::string::npos ? page.erase(it) : std::next(it);
  EXPECT_EQ(help, page);
  // And every one of them is an option the parser knows.
  for (const std::string& option : help) {
    std::vector<std::string> args = {option};
    if (option == "-o" || option == "--output-dir" || option == "--log" || option == "--temp-dir") args.push_back("x");
    if (option == "-j" || option == "--jobs") args.push_back("2");
    args.push_back("a.pdf");
    CommandLine line;
    std::string error;
    EXPECT_TRUE(ParseCommandLine(args, &line, &error)) << option << ": " << error;
  }
}

TEST(Usage, VersionNamesBothVersions) {
  EXPECT_EQ(VersionText("1.2.0", "2.9.0"), "kanafix 1.2.0\ninterface version 1.2.0, PDF library version 2.9.0\n");
  EXPECT_EQ(UsageErrorText("no input file"), "kanafix: no input file\nTry 'kanafix --help' for more information.\n");
}

}  // namespace
}  // namespace kanafix::cli
