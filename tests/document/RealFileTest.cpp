// Files written by other programs (see tests/data/document/make_fixtures.sh):
// they open, and every object reached from the catalog loads.
#include <gtest/gtest.h>

#include <string>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFStream.h"
#include "tests/document/PdfFixture.h"

namespace koyo {
namespace {

std::string Fixture(const char* name) { return std::string(KOYO_TEST_DATA) + "/document/" + name; }

// Collects the page dictionaries below a page tree node, depth first.
void CollectPages(CPDFDoc& doc, CPDFDict* node, std::vector<CPDFDict*>& pages, int depth) {
  ASSERT_LT(depth, 32);
  CPDFObject* type = node->GetValue(&doc, "Type");
  ASSERT_NE(type, nullptr);
  if (*static_cast<CPDFName*>(type) == "Page") {
    pages.push_back(node);
    return;
  }
  auto* kids = static_cast<CPDFArray*>(node->GetValue(&doc, "Kids"));
  ASSERT_TRUE(kids && kids->IsType(CPDFObject::kArray));
  for (int32_t i = 0; i < kids->Count(); ++i) {
    auto* kid = static_cast<CPDFDict*>(kids->GetObj(&doc, i));
    ASSERT_TRUE(kid && kid->IsType(CPDFObject::kDict)) << test::Describe(doc.GetError());
    CollectPages(doc, kid, pages, depth + 1);
  }
}

TEST(RealFile, OpensAndWalksThePagesOfFilesFromOtherWriters) {
  struct Case {
    const char* file;
    bool linearized;
  } cases[] = {{"gs-two-pages-1.3.pdf", false}, {"qpdf-linearized-1.3.pdf", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    CPDFDoc doc;
    ASSERT_TRUE(doc.Open(nullptr, Fixture(c.file).c_str(), nullptr)) << test::Describe(doc.GetError());
    EXPECT_EQ(doc.IsLinearized(), c.linearized);
    EXPECT_EQ(doc.GetHeader()->GetMinor(), 3);
    auto* catalog = static_cast<CPDFDict*>(doc.GetTrailer()->Get_Root());
    ASSERT_NE(catalog, nullptr);
    auto* root = static_cast<CPDFDict*>(catalog->GetValue(&doc, "Pages"));
    ASSERT_TRUE(root && root->IsType(CPDFObject::kDict));
    std::vector<CPDFDict*> pages;
    CollectPages(doc, root, pages, 0);
    ASSERT_EQ(pages.size(), 2u);
    auto* count = static_cast<CPDFNumber*>(root->GetValue(&doc, "Count"));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->GetInt(), 2);
    for (CPDFDict* page : pages) {
      auto* contents = dynamic_cast<CPDFStream*>(page->GetValue(&doc, "Contents"));
      ASSERT_NE(contents, nullptr) << test::Describe(doc.GetError());
      ASSERT_NE(contents->GetData(), nullptr);
      // The stored bytes match the stream's (indirect) Length.
      auto* length = static_cast<CPDFNumber*>(contents->Get_Length());
      ASSERT_NE(length, nullptr);
      EXPECT_GT(contents->GetSize(), 0);
      EXPECT_LE(contents->GetSize() - length->GetInt(), 2);  // at most the line end before endstream
    }
    CPDFObject* info = doc.GetTrailer()->Get_Info();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->IsType(CPDFObject::kDict));
  }
}

}  // namespace
}  // namespace koyo
