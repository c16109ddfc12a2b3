// Saving documents: incremental updates appended to the opened file, complete
// new files, the opened file replaced through a temporary file, repeated
// saves, and objects written out early. The written bytes are read back with
// a strict reader of our own, with qpdf and by reopening.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/object/CPDFString.h"
#include "koyo/object/ObjectWriter.h"
#include "koyo/object/StrSave.h"
#include "tests/document/SaveFixture.h"

namespace koyo {
namespace {

using test::Describe;
using test::LastStartXRef;
using test::ObjectAt;
using test::PrevOf;
using test::ReadAll;
using test::ReadSection;
using test::SampleDocument;
using test::ScratchDir;

// The object's text as the writer produces it; "<missing>" for null.
std::string TextOf(const CPDFObject* obj) {
  if (!obj) return "<missing>";
  StrSave out;
  out.Open();
  WriteObject(out, obj, nullptr);
  return std::string(out.Data(), static_cast<size_t>(out.Length()));
}

CPDFDict* Dict(CPDFDoc& doc, int num) { return dynamic_cast<CPDFDict*>(doc.GetObj(CPDFObjRef(num, 0))); }

std::vector<std::string> LpFiles(const std::string& dir) {
  std::vector<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    std::string name = e.path().filename().string();
    if (name.rfind("lp", 0) == 0) found.push_back(name);
  }
  return found;
}

std::string DirOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Marks page 3 as rotated: one changed object.
void RotatePage(CPDFDoc& doc) {
  CPDFDict* page = Dict(doc, 3);
  ASSERT_NE(page, nullptr) << Describe(doc.GetError());
  page->Insert("Rotate", new CPDFInt(90));
  ASSERT_TRUE(doc.UpdateObj(CPDFObjRef(3, 0))) << Describe(doc.GetError());
}

TEST(SaveIncremental, AppendsTheChangedObjectAndInfoWithObjectZeroFirst) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  {
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
    RotatePage(doc);
    ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
    EXPECT_TRUE(doc.IsIncremental());
    ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
    EXPECT_STREQ(doc.GetFileName(), path.c_str());
  }
  const std::string saved = ReadAll(path);
  ASSERT_GT(saved.size(), original.size());
  EXPECT_EQ(saved.compare(0, original.size(), original), 0) << "the original bytes must stay a prefix";
  const std::string update = saved.substr(original.size());
  EXPECT_EQ(update.rfind("3 0 obj\r\n", 0), 0u) << update;
  EXPECT_NE(update.find("\r\nendobj\r\n4 0 obj\r\n"), std::string::npos) << update;
  EXPECT_EQ(update.find("5 0 obj"), std::string::npos) << "only changed objects are appended";

  const int64_t xref = LastStartXRef(saved);
  ASSERT_GE(xref, static_cast<int64_t>(original.size()));
  auto section = ReadSection(saved, xref);
  ASSERT_TRUE(section.ok) << section.error;
  ASSERT_FALSE(section.subsections.empty());
  EXPECT_EQ(section.subsections.front().first, 0);
  EXPECT_EQ(section.entries[0].generation, 65535);
  EXPECT_EQ(section.entries[0].type, 'f');
  EXPECT_EQ(section.entries[0].offset, 6) << "the free-list head";
  for (int num : {3, 4}) {
    SCOPED_TRACE(num);
    ASSERT_EQ(section.entries.count(num), 1u);
    EXPECT_EQ(section.entries[num].type, 'n');
    EXPECT_TRUE(ObjectAt(saved, section.entries[num].offset, num, 0));
  }
  EXPECT_EQ(section.entries.count(1), 0u);
  EXPECT_EQ(section.entries.count(5), 0u);
  EXPECT_EQ(PrevOf(section.trailer), LastStartXRef(original));
  EXPECT_EQ(saved.substr(saved.size() - 7), "%%EOF\r\n");

  CPDFDoc again;
  ASSERT_TRUE(again.Open(nullptr, path.c_str(), nullptr)) << Describe(again.GetError());
  EXPECT_EQ(TextOf(Dict(again, 3)->GetValue(&again, "Rotate")), "90");
  EXPECT_EQ(TextOf(Dict(again, 4)->GetValue(&again, "Producer")), "(libkoyo)");

  KOYO_EXPECT_QPDF_ACCEPTS(path);
}

TEST(SaveIncremental, UnchangedDocumentStillAppendsInfoAndTheFreeEntries) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  {
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
    ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
    ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
  }
  const std::string saved = ReadAll(path);
  EXPECT_EQ(saved.compare(0, original.size(), original), 0);
  EXPECT_EQ(saved.substr(original.size()).rfind("4 0 obj\r\n", 0), 0u);
  auto section = ReadSection(saved, LastStartXRef(saved));
  ASSERT_TRUE(section.ok) << section.error;
  // Object 0 with the free-list head, Info, and the free entry copied from
  // the section before: three runs.
  ASSERT_EQ(section.subsections.size(), 3u);
  EXPECT_EQ(section.subsections[0], std::make_pair(0, 1));
  EXPECT_EQ(section.subsections[1], std::make_pair(4, 1));
  EXPECT_EQ(section.subsections[2], std::make_pair(6, 1));
  EXPECT_EQ(section.entries[0].offset, 6);
  EXPECT_EQ(section.entries[4].type, 'n');
  EXPECT_TRUE(ObjectAt(saved, section.entries[4].offset, 4, 0));
  EXPECT_EQ(section.entries[6].type, 'f');
  EXPECT_EQ(section.entries[6].generation, 1);
  EXPECT_EQ(section.entries[6].offset, 0);
  EXPECT_EQ(PrevOf(section.trailer), LastStartXRef(original));
  KOYO_EXPECT_QPDF_ACCEPTS(path);
}


// A file of two sections: the second replaces the page and adds object 7.
std::string TwoSectionDocument() {
  test::PdfBuilder pdf;
  pdf.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 5 0 R >>");
  pdf.Object(4, 0, "<< /Producer (Other) >>");
  pdf.Object(5, 0, "<< /Length 15 >>\nstream\n0 0 m 10 10 l S\nendstream");
  pdf.Free(6, 1, 0);
  pdf.Section("/Root 1 0 R /Info 4 0 R", 7, 6);
  pdf.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 5 0 R /Rotate 180 /Extra 7 0 R >>");
  pdf.Object(7, 0, "(added)");
  pdf.Section("/Root 1 0 R /Info 4 0 R", 8);
  return pdf.Text();
}

size_t Occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(SaveComplete, AnotherPathGetsOneMergedSectionWithoutPrev) {
  ScratchDir dir;
  const std::string original = TwoSectionDocument();
  std::string source = dir.Write("source.pdf", original);
  std::string target = dir.Path("target.pdf");
  {
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, source.c_str(), nullptr)) << Describe(doc.GetError());
    ASSERT_NE(Dict(doc, 2), nullptr);  // loaded in the oldest section's body
    // Incremental is asked for, but another path can only get a complete file.
    ASSERT_TRUE(doc.Save(target.c_str(), true, false)) << Describe(doc.GetError());
    EXPECT_FALSE(doc.IsIncremental());
    ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
    EXPECT_STREQ(doc.GetFileName(), target.c_str());
    // The document now reads the new file and can be changed again.
    EXPECT_EQ(TextOf(Dict(doc, 3)->GetValue(&doc, "Rotate")), "180");
  }
  EXPECT_EQ(ReadAll(source), original);
  const std::string saved = ReadAll(target);
  EXPECT_EQ(saved.rfind("%PDF-1.3\r\n%\xE2\xE3\xCF\xD3\r\n", 0), 0u);
  EXPECT_EQ(Occurrences(saved, "\nxref\r\n"), 1u);
  EXPECT_EQ(Occurrences(saved, "trailer\r\n"), 1u);
  EXPECT_EQ(saved.find("/Prev"), std::string::npos);
  auto section = ReadSection(saved, LastStartXRef(saved));
  ASSERT_TRUE(section.ok) << section.error;
  ASSERT_EQ(section.subsections.size(), 1u);
  EXPECT_EQ(section.subsections[0], std::make_pair(0, 8));
  for (int num : {1, 2, 3, 4, 5, 7}) {
    SCOPED_TRACE(num);
    EXPECT_EQ(section.entries[num].type, 'n');
    EXPECT_TRUE(ObjectAt(saved, section.entries[num].offset, num, 0));
  }
  EXPECT_EQ(section.entries[6].type, 'f');
  EXPECT_EQ(Occurrences(saved, "3 0 obj"), 1u) << "only the newest version of the page";

  CPDFDoc before;
  CPDFDoc after;
  ASSERT_TRUE(before.Open(nullptr, source.c_str(), nullptr)) << Describe(before.GetError());
  ASSERT_TRUE(after.Open(nullptr, target.c_str(), nullptr)) << Describe(after.GetError());
  EXPECT_EQ(after.GetTrailers().size(), 2u) << "one section read, one update section";
  for (int num : {1, 2, 3, 5, 7}) {
    SCOPED_TRACE(num);
    EXPECT_EQ(TextOf(after.GetObj(CPDFObjRef(num, 0))), TextOf(before.GetObj(CPDFObjRef(num, 0))));
  }
  EXPECT_EQ(TextOf(Dict(after, 4)->GetValue(&after, "Producer")), "(libkoyo)");
  KOYO_EXPECT_QPDF_ACCEPTS(target);
}

TEST(SaveComplete, OpenedFileIsReplacedThroughATemporaryFileBesideIt) {
  ScratchDir dir;
  const std::string original = TwoSectionDocument();
  std::string path = dir.Write("doc.pdf", original);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  char cwd[PATH_MAX];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  const std::string expectedData = "0 0 m 10 10 l S\n";

  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  // Loaded but its bytes left in the file: they move with the rewrite.
  auto* stream = dynamic_cast<CPDFStream*>(doc.GetObj(CPDFObjRef(5, 0)));
  ASSERT_NE(stream, nullptr);
  ASSERT_TRUE(stream->InFile());

  ASSERT_TRUE(doc.Save(path.c_str(), false, false)) << Describe(doc.GetError());
  auto temps = LpFiles(dir.Path(""));
  ASSERT_EQ(temps.size(), 1u);
  EXPECT_EQ(DirOf(doc.GetOutputPath()), DirOf(path));
  EXPECT_EQ(ReadAll(path), original) << "nothing replaced before Flush";
  char now[PATH_MAX];
  ASSERT_NE(::getcwd(now, sizeof now), nullptr);
  EXPECT_STREQ(now, cwd);

  ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
  ASSERT_NE(::getcwd(now, sizeof now), nullptr);
  EXPECT_STREQ(now, cwd);
  EXPECT_TRUE(LpFiles(dir.Path("")).empty());
  EXPECT_STREQ(doc.GetFileName(), path.c_str());
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  const std::string saved = ReadAll(path);
  EXPECT_EQ(saved.rfind("%PDF-1.3\r\n", 0), 0u);
  EXPECT_EQ(Occurrences(saved, "\nxref\r\n"), 1u);
  EXPECT_EQ(saved.find("/Prev"), std::string::npos);
  ASSERT_EQ(stream->GetSize(), static_cast<int64_t>(expectedData.size()));
  EXPECT_EQ(std::string(stream->GetData(), expectedData.size()), expectedData);

  // The document goes on with the new file: a further update appends to it.
  RotatePage(doc);
  ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
  ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
  const std::string updated = ReadAll(path);
  EXPECT_EQ(updated.compare(0, saved.size(), saved), 0);
  EXPECT_EQ(PrevOf(ReadSection(updated, LastStartXRef(updated)).trailer), LastStartXRef(saved));
  KOYO_EXPECT_QPDF_ACCEPTS(path);
}

TEST(SaveComplete, OpenedFileUnderAnotherSpellingIsTreatedAsTheOpenedFile) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("doc.pdf", original);
  const std::string spelled = DirOf(path) + "/./doc.pdf";
  for (bool incremental : {false, true}) {
    SCOPED_TRACE(incremental);
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
    RotatePage(doc);
    const std::string before = ReadAll(path);
    ASSERT_TRUE(doc.Save(spelled.c_str(), incremental, false)) << Describe(doc.GetError());
    EXPECT_EQ(doc.IsIncremental(), incremental);
    EXPECT_EQ(ReadAll(path), before) << "the file being read was changed by Save";
    ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
    CPDFDoc again;
    ASSERT_TRUE(again.Open(nullptr, path.c_str(), nullptr)) << Describe(again.GetError());
    EXPECT_EQ(TextOf(Dict(again, 3)->GetValue(&again, "Rotate")), "90");
  }
  KOYO_EXPECT_QPDF_ACCEPTS(path);
}

TEST(SaveIncremental, SecondSaveAppendsAnUpdateAfterTheFirst) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  RotatePage(doc);
  ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
  ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
  const std::string first = ReadAll(path);
  EXPECT_EQ(doc.GetTrailers().size(), 3u);
  EXPECT_EQ(doc.GetTrailers()[1]->GetStartXRef(), LastStartXRef(first));

  CPDFDict* catalog = Dict(doc, 1);
  ASSERT_NE(catalog, nullptr);
  catalog->Insert("PageLayout", new CPDFInt(1));
  ASSERT_TRUE(doc.UpdateObj(CPDFObjRef(1, 0))) << Describe(doc.GetError());
  ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
  ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());

  const std::string second = ReadAll(path);
  EXPECT_EQ(second.compare(0, first.size(), first), 0);
  auto section = ReadSection(second, LastStartXRef(second));
  ASSERT_TRUE(section.ok) << section.error;
  EXPECT_EQ(PrevOf(section.trailer), LastStartXRef(first));
  EXPECT_EQ(section.entries[1].type, 'n');
  EXPECT_EQ(section.entries[4].type, 'n');
  EXPECT_EQ(section.entries.count(3), 0u);
  EXPECT_TRUE(ObjectAt(second, section.entries[1].offset, 1, 0));
  KOYO_EXPECT_QPDF_ACCEPTS(path);
}

TEST(SaveFlush, WithoutSaveIsAUserError) {
  ScratchDir dir;
  std::string path = dir.Write("a.pdf", SampleDocument());
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  EXPECT_FALSE(doc.Flush());
  EXPECT_EQ(doc.GetError().Module, "CPDFDoc");
  EXPECT_EQ(doc.GetError().Method, "Flush");
  EXPECT_EQ(doc.GetError().Type, CPDFException::kUser);
  EXPECT_EQ(doc.GetError().Factor, "CPDFDoc::Save() has not been called.");
  EXPECT_EQ(ReadAll(path), SampleDocument());
}

TEST(SaveRelease, ObjectReleasedDuringACompleteSaveIsWrittenOnceAndListed) {
  ScratchDir dir;
  std::string source = dir.Write("source.pdf", SampleDocument());
  std::string target = dir.Path("target.pdf");
  {
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, source.c_str(), nullptr)) << Describe(doc.GetError());
    ASSERT_TRUE(doc.Save(target.c_str(), false, false)) << Describe(doc.GetError());
    ASSERT_NE(Dict(doc, 3), nullptr);
    ASSERT_TRUE(doc.ReleaseObj(CPDFObjRef(3, 0), true)) << Describe(doc.GetError());
    // Written and unloaded: the running save does not read it again.
    EXPECT_EQ(doc.GetObj(CPDFObjRef(3, 0)), nullptr);
    EXPECT_TRUE(doc.GetError().IsEmpty());
    ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
    // After the save it is read from the new file.
    EXPECT_NE(Dict(doc, 3), nullptr) << Describe(doc.GetError());
  }
  const std::string saved = ReadAll(target);
  EXPECT_EQ(Occurrences(saved, "3 0 obj"), 1u);
  auto section = ReadSection(saved, LastStartXRef(saved));
  ASSERT_TRUE(section.ok) << section.error;
  EXPECT_TRUE(ObjectAt(saved, section.entries[3].offset, 3, 0));
  KOYO_EXPECT_QPDF_ACCEPTS(target);
}

TEST(SaveRelease, UnchangedObjectReleasedDuringAnIncrementalSaveIsNotAppended) {
  ScratchDir dir;
  const std::string original = SampleDocument();
  std::string path = dir.Write("a.pdf", original);
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
  ASSERT_NE(Dict(doc, 2), nullptr);
  ASSERT_TRUE(doc.ReleaseObj(CPDFObjRef(2, 0), true)) << Describe(doc.GetError());
  EXPECT_NE(Dict(doc, 2), nullptr) << "an unchanged object is read again from the file";
  ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
  EXPECT_EQ(ReadAll(path).substr(original.size()).find("2 0 obj"), std::string::npos);
}

}  // namespace
}  // namespace koyo
