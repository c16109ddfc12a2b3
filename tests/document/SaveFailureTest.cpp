// Saves that fail or are abandoned: what is left of the output and of the
// document's file, and the failure record. Full disks are simulated in a
// child process with a file-size limit.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFString.h"
#include "tests/document/SaveFixture.h"

namespace koyo {
namespace {

using test::Describe;
using test::ReadAll;
using test::LimitFileSize;
using test::RunInChild;
using test::SampleDocument;
using test::ScratchDir;

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

size_t LpCount(const std::string& dir) {
  size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    if (e.path().filename().string().rfind("lp", 0) == 0) ++n;
  }
  return n;
}

// Opens path, changes the page and prepares an incremental save on it; the
// page, made larger than the output's buffer, is also written out at once, so
// the file has grown before Flush.
bool PrepareAppend(CPDFDoc& doc, const std::string& path, bool keep) {
  doc.SetKeepOutputOnClose(keep);
  if (!doc.Open(nullptr, path.c_str(), nullptr)) return false;
  auto* page = dynamic_cast<CPDFDict*>(doc.GetObj(CPDFObjRef(3, 0)));
  if (!page) return false;
  page->Insert("Rotate", new CPDFInt(90));
  page->Insert("PieceInfo", new CPDFString(std::string(8000, 'x').c_str()));
  if (!doc.UpdateObj(CPDFObjRef(3, 0))) return false;
  if (!doc.Save(path.c_str(), true, false)) return false;
  return doc.ReleaseObj(CPDFObjRef(3, 0), true);
}

TEST(SaveAbandon, KeptAppendIsCutBackWhenTheDocumentIsClosed) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  CPDFDoc doc;
  ASSERT_TRUE(PrepareAppend(doc, path, true)) << Describe(doc.GetError());
  ASSERT_GT(ReadAll(path).size(), original.size()) << "the page should already be written";
  doc.Close();
  EXPECT_EQ(ReadAll(path), original);
}

TEST(SaveAbandon, AppendWithoutKeepIsRemovedWhenTheDocumentIsClosed) {
  ScratchDir dir;
  std::string path = dir.Write("copy.pdf", SampleDocument());
  CPDFDoc doc;
  ASSERT_TRUE(PrepareAppend(doc, path, false)) << Describe(doc.GetError());
  doc.Close();
  EXPECT_FALSE(Exists(path));
}

TEST(SaveAbandon, KeptAppendIsCutBackWhenFlushRunsOutOfSpace) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  int status = RunInChild([&] {
    CPDFDoc doc;
    if (!PrepareAppend(doc, path, true)) return 10;
    // The disk fills up right after the page written before Flush.
    if (!LimitFileSize(ReadAll(path).size() + 10)) return 9;
    if (doc.Flush()) return 11;
    const CPDFException& e = doc.GetError();
    if (e.Type != CPDFException::kRuntimeLibrary || e.Factor.find(std::strerror(EFBIG)) == std::string::npos) {
      std::fprintf(stderr, "%s\n", Describe(e).c_str());
      return 12;
    }
    // The document still reads its own file.
    if (!doc.GetObj(CPDFObjRef(2, 0))) return 13;
    return 0;
  });
  ASSERT_EQ(status, 0);
  EXPECT_EQ(ReadAll(path), original);
}

TEST(SaveAbandon, NewAndTemporaryOutputsAreRemovedEvenWhenKept) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  std::string other = dir.Path("other.pdf");
  for (bool toOther : {true, false}) {
    SCOPED_TRACE(toOther);
    CPDFDoc doc;
    doc.SetKeepOutputOnClose(true);
    ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
    ASSERT_TRUE(doc.Save(toOther ? other.c_str() : path.c_str(), false, false)) << Describe(doc.GetError());
    EXPECT_TRUE(Exists(doc.GetOutputPath()));
    EXPECT_EQ(LpCount(dir.Path("")), toOther ? 0u : 1u);
    doc.Close();
    EXPECT_FALSE(Exists(other));
    EXPECT_EQ(LpCount(dir.Path("")), 0u);
    EXPECT_EQ(ReadAll(path), original);
  }
}

TEST(SaveAbandon, FullDiskDuringACompleteSaveLeavesNoPartialFile) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  std::string other = dir.Path("other.pdf");
  for (bool toOther : {true, false}) {
    SCOPED_TRACE(toOther);
    int status = RunInChild([&] {
      if (!LimitFileSize(100)) return 9;
      CPDFDoc doc;
      if (!doc.Open(nullptr, path.c_str(), nullptr)) return 10;
      if (!doc.Save(toOther ? other.c_str() : path.c_str(), false, false)) return 11;
      if (doc.Flush()) return 12;
      if (doc.GetError().Type != CPDFException::kRuntimeLibrary) {
        std::fprintf(stderr, "%s\n", Describe(doc.GetError()).c_str());
        return 13;
      }
      if (doc.IsSaving()) return 14;
      // Objects not loaded yet are still found where the document's file has them.
      if (!doc.GetObj(CPDFObjRef(3, 0)) || !doc.GetObj(CPDFObjRef(1, 0))) return 15;
      return 0;
    });
    ASSERT_EQ(status, 0);
    EXPECT_FALSE(Exists(other));
    EXPECT_EQ(LpCount(dir.Path("")), 0u);
    EXPECT_EQ(ReadAll(path), original);
  }
}

struct RefusedSave {
  const char* name;
  const char* path;  // "@" stands for the opened file; "" is empty
  bool incremental;
  bool linearize;
  int32_t type;
};

TEST(SaveRefusal, ClearFailuresAndNoOutput) {
  const RefusedSave cases[] = {
      {"missing directory", "missing/x.pdf", false, false, CPDFException::kRuntimeLibrary},
      {"a directory as output", "sub", false, false, CPDFException::kRuntimeLibrary},
      {"linearized output", "out.pdf", false, true, CPDFException::kUser},
      {"linearized over the opened file", "@", true, true, CPDFException::kUser},
      {"empty path", "", true, false, CPDFException::kUser},
  };
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  std::filesystem::create_directory(dir.Path("sub"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string target = std::string(c.path) == "@" ? path : (*c.path ? dir.Path(c.path) : "");
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
    EXPECT_FALSE(doc.Save(target.c_str(), c.incremental, c.linearize));
    EXPECT_EQ(doc.GetError().Module, "CPDFDoc");
    EXPECT_EQ(doc.GetError().Method, "Save");
    EXPECT_EQ(doc.GetError().Type, c.type) << Describe(doc.GetError());
    EXPECT_FALSE(doc.GetError().Factor.empty());
    EXPECT_FALSE(doc.IsSaving());
    // The save state was released: Flush has nothing to finish.
    EXPECT_FALSE(doc.Flush());
    EXPECT_EQ(doc.GetError().Factor, "CPDFDoc::Save() has not been called.");
    EXPECT_FALSE(Exists(dir.Path("out.pdf")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("sub")));
    EXPECT_EQ(LpCount(dir.Path("")), 0u);
    EXPECT_EQ(ReadAll(path), original);
  }
}

TEST(SaveRefusal, TemporaryNameThatCannotBeMadeIsARunTimeFailure) {
  ScratchDir dir;
  std::string sub = dir.Path("gone");
  std::filesystem::create_directory(sub);
  std::string path = sub + "/a.pdf";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::string text = SampleDocument();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  // The directory disappears while the document is open.
  std::filesystem::remove_all(sub);
  EXPECT_FALSE(doc.Save(path.c_str(), false, false));
  EXPECT_EQ(doc.GetError().Type, CPDFException::kRuntimeLibrary) << Describe(doc.GetError());
  EXPECT_EQ(doc.GetError().Factor.find(std::strerror(ENOENT)) != std::string::npos, true)
      << Describe(doc.GetError());
}

TEST(SaveRefusal, SecondSaveLeavesTheFirstPreparedSave) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  std::string other = dir.Path("other.pdf");
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
  EXPECT_FALSE(doc.Save(other.c_str(), false, false));
  EXPECT_EQ(doc.GetError().Type, CPDFException::kUser);
  EXPECT_FALSE(Exists(other));
  ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
  const std::string saved = ReadAll(path);
  EXPECT_EQ(saved.compare(0, original.size(), original), 0);
  EXPECT_GT(saved.size(), original.size());
}

}  // namespace
}  // namespace koyo
