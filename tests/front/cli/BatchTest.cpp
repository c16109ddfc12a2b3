#include "front/cli/Batch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <thread>

#include "JsonValue.h"

namespace kanafix::cli {
namespace {

std::string ReadAll(FILE* f) {
  std::rewind(f);
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

std::vector<PlannedFile> Files(size_t n) {
  std::vector<PlannedFile> files;
  for (size_t i = 0; i < n; ++i) {
    const std::string name = "f" + std::to_string(i) + ".pdf";
    files.push_back({name, "out/" + name, "", false});
  }
  return files;
}

// Later files finish first; file 2 fails, file 4 kills its worker, file 5 has
// nothing to do, the others replace one font each.
FileReport FakeRepair(const PlannedFile& file) {
  const int i = file.input[1] - '0';
  std::this_thread::sleep_for(std::chrono::milliseconds(30 * (6 - i)));
  if (i == 4) std::raise(SIGKILL);
  FileReport r;
  r.input = "worker's own idea of the name";
  r.ok = i != 2;
  r.pages = 1;
  if (!r.ok) r.message = "cannot open PDF Document: " + file.input;
  if (r.ok && i != 5) {
    FontVisit v;
    v.page = 1;
    v.resourceName = "F1";
    v.objectNumber = i + 1;
    v.generation = 0;
    v.subtype = "TrueType";
    v.baseFont = "IPAGothic";
    r.replaced.push_back({v, "90ms-RKSJ-H"});
  }
  return r;
}

struct Outcome {
  int status;
  std::string out, err;
};

Outcome RunSix(int jobs, bool json) {
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  ProgressDisplay progress(err, false, 80);
  BatchSettings settings;
  settings.jobs = jobs;
  settings.json = json;
  const int status = RunBatch(Files(6), settings, FakeRepair, out, err, progress);
  return {status, ReadAll(out), ReadAll(err)};
}

TEST(Batch, TextReportsComeInInputOrderWhateverOrderWorkersFinish) {
  const Outcome one = RunSix(1, false);
  const Outcome three = RunSix(3, false);
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(three.status, 1);
  EXPECT_EQ(three.out, one.out);
  EXPECT_EQ(three.err, one.err);

  std::istringstream lines(three.out);
  std::string line;
  std::vector<std::string> headers;
  while (std::getline(lines, line)) {
    if (line.rfind("f", 0) == 0) headers.push_back(line.substr(0, line.find(' ')));
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"f0.pdf", "f1.pdf", "f3.pdf", "f5.pdf"}));
  EXPECT_NE(three.out.find("f5.pdf -> out/f5.pdf: 1 page, nothing to replace"), std::string::npos) << three.out;

  EXPECT_EQ(three.err,
            "kanafix: f2.pdf: cannot open PDF Document: f2.pdf\n"
            "kanafix: f4.pdf: worker killed by signal 9 (Killed)\n"
            "6 files: 3 repaired, 1 with nothing to do, 2 failed; 3 fonts replaced\n"
            "failed: f2.pdf: cannot open PDF Document: f2.pdf\n"
            "failed: f4.pdf: worker killed by signal 9 (Killed)\n");
}

TEST(Batch, JsonHasOneLinePerFileInInputOrder) {
  const Outcome o = RunSix(3, true);
  EXPECT_EQ(o.status, 1);
  std::istringstream lines(o.out);
  std::string line;
  size_t index = 0;
  while (std::getline(lines, line)) {
    test::JsonValue v;
    std::string error;
    ASSERT_TRUE(test::ParseJson(line, &v, &error)) << error << ": " << line;
    EXPECT_EQ(v["file"].text, "f" + std::to_string(index) + ".pdf");
    EXPECT_EQ(v["output"].text, "out/f" + std::to_string(index) + ".pdf");
    EXPECT_EQ(v["status"].text, index == 2 || index == 4 ? "failed" : "ok") << line;
    ++index;
  }
  EXPECT_EQ(index, 6u);
}

}  // namespace
}  // namespace kanafix::cli
