// Opening types the catalog and the document information; page access goes
// through the catalog's page tree.
#include <gtest/gtest.h>

#include <string>

#include "koyo/document/CPDFDoc.h"
#include "koyo/structure/CFDFCatalog.h"
#include "koyo/structure/CPDFCatalog.h"
#include "koyo/structure/CPDFInfoDict.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFPages.h"
#include "tests/document/PdfFixture.h"

namespace koyo {
namespace {

using test::Describe;
using test::PdfBuilder;
using test::ScratchDir;

std::string Fixture(const char* name) { return std::string(KOYO_TEST_DATA) + "/document/" + name; }

void ExpectRecord(const CPDFException& e, const char* method, int32_t type, const std::string& factor) {
  EXPECT_EQ(e.Module, "CPDFDoc") << Describe(e);
  EXPECT_EQ(e.Method, method) << Describe(e);
  EXPECT_EQ(e.Type, type) << Describe(e);
  EXPECT_EQ(e.Factor, factor) << Describe(e);
}

// A tree of two nodes with `perNode` pages each under a root node.
std::string FourPages() {
  PdfBuilder pdf;
  pdf.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, 0, "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 4 /MediaBox [0 0 612 792] >>");
  pdf.Object(3, 0, "<< /Type /Pages /Parent 2 0 R /Kids [5 0 R 6 0 R] /Count 2 >>");
  pdf.Object(4, 0, "<< /Type /Pages /Parent 2 0 R /Kids [7 0 R 8 0 R] /Count 2 >>");
  for (int n = 5; n <= 8; ++n) {
    pdf.Object(n, 0, "<< /Type /Page /Parent " + std::string(n < 7 ? "3" : "4") + " 0 R /Rotate " +
                         std::to_string(n * 10) + " >>");
  }
  pdf.Object(9, 0, "<< /Title (Four) /Producer (test) >>");
  pdf.Section("/Root 1 0 R /Info 9 0 R", 10);
  return pdf.Text();
}

TEST(DocumentPages, OpeningTypesCatalogAndInformation) {
  ScratchDir dir;
  std::string path = dir.Write("four.pdf", FourPages());
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  auto* catalog = dynamic_cast<CPDFCatalog*>(doc.GetTrailer()->Get_Root());
  ASSERT_NE(catalog, nullptr);
  // The wrapper replaced the object read, under the same reference.
  EXPECT_EQ(doc.GetObj(CPDFObjRef(1, 0)), catalog);
  EXPECT_NE(dynamic_cast<CPDFPages*>(catalog->Get_Pages()), nullptr);
  auto* info = dynamic_cast<CPDFInfoDict*>(doc.GetTrailer()->Get_Info());
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(doc.GetObj(CPDFObjRef(9, 0)), info);
  ASSERT_NE(info->Get_Title(), nullptr);
}

TEST(DocumentPages, CountAndPagesInTreeOrder) {
  ScratchDir dir;
  std::string path = dir.Write("four.pdf", FourPages());
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  EXPECT_EQ(doc.GetPageCount(), 4);
  for (int32_t i = 0; i < 4; ++i) {
    CPDFObjRef ref;
    CPDFPage* page = doc.GetPage(i, &ref);
    ASSERT_NE(page, nullptr) << Describe(doc.GetError());
    EXPECT_EQ(ref, CPDFObjRef(5 + i, 0));
    EXPECT_EQ(doc.GetObj(ref), page);
  }
  EXPECT_EQ(doc.GetPage(4), nullptr);
  ExpectRecord(doc.GetError(), "GetPage", 5, "CPDFPages::GetPage()");
}

TEST(DocumentPages, DeletePageChecksTheRangeAndUpdatesTheTree) {
  ScratchDir dir;
  std::string path = dir.Write("four.pdf", FourPages());
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  struct Bad {
    int32_t start;
    int32_t count;
  } bad[] = {{-1, 1}, {4, 1}, {0, 5}, {3, 2}, {1, -2}};
  for (const Bad& b : bad) {
    SCOPED_TRACE(std::to_string(b.start) + " " + std::to_string(b.count));
    EXPECT_FALSE(doc.DeletePage(b.start, b.count));
    ExpectRecord(doc.GetError(), "DeletePage", 3, "Page position is out of range.");
  }
  EXPECT_EQ(doc.GetPageCount(), 4);

  ASSERT_TRUE(doc.DeletePage(1, 2)) << Describe(doc.GetError());
  EXPECT_EQ(doc.GetPageCount(), 2);
  CPDFObjRef ref;
  ASSERT_NE(doc.GetPage(1, &ref), nullptr);
  EXPECT_EQ(ref, CPDFObjRef(8, 0));
  // The changed root node now lives in the update section.
  EXPECT_NE(doc.GetBody()->GetObj(CPDFObjRef(2, 0)), nullptr);
  ASSERT_TRUE(doc.DeletePage(0, -1)) << Describe(doc.GetError());
  EXPECT_EQ(doc.GetPageCount(), 0);
}

TEST(DocumentPages, FdfDocumentsHaveNoPages) {
  std::string text = "%FDF-1.2\n";
  int64_t obj = static_cast<int64_t>(text.size());
  text += "1 0 obj\n<< /FDF << /F (form.pdf) /Fields [] >> >>\nendobj\n";
  int64_t xref = static_cast<int64_t>(text.size());
  text += "xref\n0 2\n0000000000 65535 f\r\n" + PdfBuilder::Field(obj, 10) + " 00000 n\r\n";
  text += "trailer\n<< /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  ScratchDir dir;
  std::string path = dir.Write("form.fdf", text);
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  auto* catalog = dynamic_cast<CFDFCatalog*>(doc.GetTrailer()->Get_Root());
  ASSERT_NE(catalog, nullptr);
  // The catalog read from the file, not an empty new one.
  EXPECT_NE(catalog->Get_F(), nullptr);
  EXPECT_EQ(doc.GetPageCount(), -1);
  ExpectRecord(doc.GetError(), "GetPageCount", 3, "There is no CPDFPage for FDF file.");
  EXPECT_EQ(doc.GetPage(0), nullptr);
  ExpectRecord(doc.GetError(), "GetPage", 5, "There is no CPDFPage for FDF file");
  EXPECT_FALSE(doc.DeletePage(0, 1));
  ExpectRecord(doc.GetError(), "DeletePage", 3, "There is no CPDFPage for FDF file.");
}

TEST(DocumentPages, RealFilesWalkTheirPages) {
  for (const char* file : {"gs-two-pages-1.3.pdf", "qpdf-linearized-1.3.pdf"}) {
    SCOPED_TRACE(file);
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, Fixture(file).c_str(), nullptr)) << Describe(doc.GetError());
    ASSERT_EQ(doc.GetPageCount(), 2);
    for (int32_t i = 0; i < 2; ++i) {
      CPDFPage* page = doc.GetPage(i);
      ASSERT_NE(page, nullptr) << Describe(doc.GetError());
      EXPECT_NE(page->GetValue(&doc, "Contents"), nullptr);
    }
  }
}

}  // namespace
}  // namespace koyo
