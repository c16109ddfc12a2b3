// The object table of an open document: loading on demand across sections,
// numbering new objects, moving changed ones into the update section,
// deleting and releasing.
#include <gtest/gtest.h>

#include <string>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/structure/CPDFPage.h"
#include "tests/document/PdfFixture.h"

namespace koyo {
namespace {

using test::AddMinimalDocument;
using test::Describe;
using test::PdfBuilder;
using test::ScratchDir;

int32_t IntValue(CPDFObject* obj) {
  return obj && obj->IsType(CPDFObject::kAnyNumber) ? static_cast<CPDFNumber*>(obj)->GetInt() : -12345;
}

void ExpectRecord(const CPDFException& e, const char* module, const char* method, int32_t type,
                  const std::string& factor) {
  EXPECT_EQ(e.Module, module) << Describe(e);
  EXPECT_EQ(e.Method, method) << Describe(e);
  EXPECT_EQ(e.Type, type) << Describe(e);
  EXPECT_EQ(e.Factor, factor) << Describe(e);
}

class ObjectTable : public ::testing::Test {
protected:
  void OpenText(const std::string& text) {
    path_ = dir_.Write("doc.pdf", text);
    ASSERT_TRUE(doc_.Open(nullptr, path_.c_str(), nullptr)) << Describe(doc_.GetError());
  }
  // Catalog, pages, page and numbers 4..9 (object n holds the value n * 10).
  void OpenNumbers() {
    PdfBuilder pdf;
    AddMinimalDocument(pdf);
    for (int n = 4; n <= 9; ++n) pdf.Object(n, 0, std::to_string(n * 10));
    pdf.Section("/Root 1 0 R", 10);
    OpenText(pdf.Text());
  }

  ScratchDir dir_;
  std::string path_;
  CPDFDoc doc_;
};

TEST_F(ObjectTable, FreeEntryInTheNewestSectionDoesNotHideAnOlderObject) {
  PdfBuilder pdf;
  AddMinimalDocument(pdf);
  pdf.Object(4, 0, "(old)");
  pdf.Section("/Root 1 0 R", 5);
  pdf.Free(4, 1, 0);
  pdf.Section("/Root 1 0 R", 5);
  OpenText(pdf.Text());
  CPDFObject* obj = doc_.GetObj(CPDFObjRef(4, 0));
  ASSERT_NE(obj, nullptr) << Describe(doc_.GetError());
  EXPECT_TRUE(obj->IsType(CPDFObject::kString));
  EXPECT_EQ(doc_.GetBodies()[2]->GetObj(CPDFObjRef(4, 0)), obj);
}

TEST_F(ObjectTable, UnknownNumberIsNullWithoutAFailure) {
  OpenNumbers();
  EXPECT_EQ(doc_.GetObj(CPDFObjRef(500, 0)), nullptr);
  EXPECT_TRUE(doc_.GetError().IsEmpty()) << Describe(doc_.GetError());
  // A known number under another generation is not that object either.
  EXPECT_EQ(doc_.GetBodies()[1]->GetObj(CPDFObjRef(4, 3)), nullptr);
  EXPECT_EQ(doc_.GetObj(CPDFObjRef(-1, 0)), nullptr);
  ExpectRecord(doc_.GetError(), "CPDFDoc", "GetObj", 3, "Object reference is not defined.");
}

TEST_F(ObjectTable, LoadFailuresNameTheirCause) {
  PdfBuilder pdf;
  AddMinimalDocument(pdf);
  int64_t twelve = pdf.Object(12, 0, "(twelve)");
  int64_t noEnd = pdf.Offset();
  pdf.Raw("13 0 obj\n(thirteen)\nendstuff\n");
  pdf.Use(13, 0, noEnd);
  int64_t badKeyword = pdf.Offset();
  pdf.Raw("14 0 object\n1\nendobj\n");
  int64_t noValue = pdf.Offset();
  pdf.Raw("15 0 obj\n)\nendobj\n");
  int64_t end = pdf.Offset();
  pdf.Raw("16 0 obj\n");
  pdf.Section("/Root 1 0 R", 13);
  OpenText(pdf.Text());

  struct Case {
    CPDFObjRef ref;
    int64_t offset;
    std::string factor;
  } cases[] = {
      {CPDFObjRef(12, 1), twelve, "invalidobjref: 12 0"},
      {CPDFObjRef(11, 0), twelve, "invalidobjref: 12 0"},
      {CPDFObjRef(13, 0), noEnd, "invalidtoken: endstuff"},
      {CPDFObjRef(14, 0), badKeyword, "invalidtoken: object"},
      {CPDFObjRef(15, 0), noValue, "invalidtoken: )"},
      {CPDFObjRef(12, 0), -5, "ioerror"},
      {CPDFObjRef(12, 0), end + 1000000, "ioerror"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.factor);
    EXPECT_EQ(doc_.LoadObj(c.ref, c.offset), nullptr);
    ExpectRecord(doc_.GetError(), "CPDFDoc", "LoadObj", 4, c.factor);
  }
  EXPECT_EQ(doc_.LoadObj(CPDFObjRef(12, -1), twelve), nullptr);
  ExpectRecord(doc_.GetError(), "CPDFDoc", "LoadObj", 3, "Object reference is not defined.");

  std::unique_ptr<CPDFObject> ok(doc_.LoadObj(CPDFObjRef(12, 0), twelve));
  ASSERT_NE(ok, nullptr) << Describe(doc_.GetError());
  EXPECT_TRUE(ok->IsType(CPDFObject::kString));

  // Through GetObj the innermost cause stays in the record.
  EXPECT_EQ(doc_.GetObj(CPDFObjRef(13, 0)), nullptr);
  ExpectRecord(doc_.GetError(), "CPDFDoc", "LoadObj", 4, "invalidtoken: endstuff");
}

TEST_F(ObjectTable, NewObjectsReuseTheLowestFreeNumberWithItsGeneration) {
  OpenNumbers();
  ASSERT_NE(doc_.GetObj(CPDFObjRef(7, 0)), nullptr);
  EXPECT_TRUE(doc_.DeleteObj(CPDFObjRef(7, 0)));
  EXPECT_TRUE(doc_.DeleteObj(CPDFObjRef(5, 0)));  // never loaded: freed all the same
  EXPECT_EQ(doc_.GetBodies()[1]->GetObj(CPDFObjRef(7, 0)), nullptr);
  EXPECT_EQ(doc_.GetXRef()->GetFreeHead(), 5);

  CPDFObjRef ref;
  ASSERT_TRUE(doc_.RegistObj(new CPDFInt(1), &ref)) << Describe(doc_.GetError());
  EXPECT_EQ(ref, CPDFObjRef(5, 1));
  ASSERT_TRUE(doc_.RegistObj(new CPDFInt(2), nullptr, &ref));
  EXPECT_EQ(ref, CPDFObjRef(7, 1));
  EXPECT_EQ(doc_.GetXRef()->GetFreeHead(), 0);
  EXPECT_EQ(IntValue(doc_.GetObj(CPDFObjRef(7, 1))), 2);
  EXPECT_TRUE(doc_.GetXRef()->GetEntry(7)->inUse);
  EXPECT_EQ(doc_.GetXRef()->GetEntry(7)->offset, 0);
  EXPECT_EQ(IntValue(doc_.GetTrailer()->Get_Size()), 10);  // numbers were reused, Size stays
}

TEST_F(ObjectTable, NewNumberFollowsTheSlotCountAndRaisesSize) {
  OpenNumbers();
  CPDFObjRef ref;
  ASSERT_TRUE(doc_.RegistObj(new CPDFName("N"), &ref)) << Describe(doc_.GetError());
  EXPECT_EQ(ref, CPDFObjRef(10, 0));
  EXPECT_EQ(IntValue(doc_.GetTrailer()->Get_Size()), 11);
  EXPECT_EQ(doc_.GetBody()->GetObj(ref), doc_.GetObj(ref));
  CPDFObjRef next;  // a valid reference would ask for a replacement
  ASSERT_TRUE(doc_.RegistObj(new CPDFName("M"), &next));
  EXPECT_EQ(next, CPDFObjRef(11, 0));
  EXPECT_EQ(IntValue(doc_.GetTrailer()->Get_Size()), 12);
}

TEST_F(ObjectTable, UpdateSectionNumbersAfterEveryObjectOfTheFile) {
  // The newest section names only object 2; new numbers must still come
  // after object 9 of the older section, and object 9 must be updatable.
  PdfBuilder pdf;
  AddMinimalDocument(pdf);
  for (int n = 4; n <= 9; ++n) pdf.Object(n, 0, std::to_string(n * 10));
  pdf.Section("/Root 1 0 R", 10);
  pdf.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Section("/Root 1 0 R", 10);
  OpenText(pdf.Text());
  CPDFObjRef ref;
  ASSERT_TRUE(doc_.RegistObj(new CPDFInt(5), &ref)) << Describe(doc_.GetError());
  EXPECT_EQ(ref, CPDFObjRef(10, 0));
  EXPECT_EQ(IntValue(doc_.GetObj(CPDFObjRef(9, 0))), 90);
  EXPECT_TRUE(doc_.UpdateObj(CPDFObjRef(9, 0))) << Describe(doc_.GetError());
}

TEST_F(ObjectTable, ReplacingKeepsNumberAndSection) {
  OpenNumbers();
  ASSERT_NE(doc_.GetObj(CPDFObjRef(6, 0)), nullptr);
  CPDFObjRef ref(6, 0);
  ASSERT_TRUE(doc_.RegistObj(new CPDFInt(66), &ref)) << Describe(doc_.GetError());
  EXPECT_EQ(ref, CPDFObjRef(6, 0));
  EXPECT_EQ(IntValue(doc_.GetBodies()[1]->GetObj(ref)), 66);
  // Replacing needs the object loaded.
  CPDFObjRef unloaded(8, 0);
  auto* value = new CPDFInt(88);
  EXPECT_FALSE(doc_.RegistObj(value, &unloaded));
  ExpectRecord(doc_.GetError(), "CPDFDoc", "RegistObj", 5, "CPDFDoc::FindObj()");
  delete value;  // still the caller's
  // Replace, then update: the new object is written under the old number.
  ASSERT_TRUE(doc_.UpdateObj(ref)) << Describe(doc_.GetError());
  EXPECT_EQ(IntValue(doc_.GetBody()->GetObj(ref)), 66);
  EXPECT_EQ(doc_.GetBodies()[1]->GetObj(ref), nullptr);
}

TEST_F(ObjectTable, UpdateNeedsALoadedObjectAndMakesOneEntry) {
  OpenNumbers();
  EXPECT_FALSE(doc_.UpdateObj(CPDFObjRef(4, 0)));
  ExpectRecord(doc_.GetError(), "CPDFDoc", "UpdateObj", 3, "CPDFDoc::FindObj()");
  EXPECT_FALSE(doc_.UpdateObj(CPDFObjRef()));
  ExpectRecord(doc_.GetError(), "CPDFDoc", "UpdateObj", 3, "Object reference is not defined.");

  CPDFObject* obj = doc_.GetObj(CPDFObjRef(4, 0));
  ASSERT_NE(obj, nullptr);
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(doc_.UpdateObj(CPDFObjRef(4, 0))) << Describe(doc_.GetError());
    EXPECT_EQ(doc_.GetXRef()->GetEntries().size(), 1u);
    const XRefEntry* e = doc_.GetXRef()->GetEntry(4);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->inUse);
    EXPECT_EQ(e->genNum, 0);
    EXPECT_EQ(doc_.GetBody()->GetObj(CPDFObjRef(4, 0)), obj);
    EXPECT_EQ(doc_.GetBodies()[1]->GetObj(CPDFObjRef(4, 0)), nullptr);
    EXPECT_EQ(doc_.GetObj(CPDFObjRef(4, 0)), obj);
  }
}

TEST_F(ObjectTable, UpdatingAFreedNumberPutsItBackInUse) {
  OpenNumbers();
  ASSERT_TRUE(doc_.DeleteObj(CPDFObjRef(6, 0)));
  ASSERT_TRUE(doc_.DeleteObj(CPDFObjRef(8, 0)));
  // An object placed under the freed number (now generation 1) in the update
  // section and then updated takes the entry off the free list 6 -> 8.
  ASSERT_TRUE(doc_.GetBody()->SetObj(CPDFObjRef(8, 1), new CPDFInt(8)));
  ASSERT_TRUE(doc_.UpdateObj(CPDFObjRef(8, 1))) << Describe(doc_.GetError());
  EXPECT_TRUE(doc_.GetXRef()->GetEntry(8)->inUse);
  EXPECT_EQ(doc_.GetXRef()->GetFreeHead(), 6);
  EXPECT_EQ(doc_.GetXRef()->GetEntry(6)->offset, 0);
}

TEST_F(ObjectTable, ReleaseHonoursTheReleaseFlagUnlessForced) {
  OpenNumbers();
  CPDFObject* obj = doc_.GetObj(CPDFObjRef(5, 0));
  ASSERT_NE(obj, nullptr);
  obj->SetRelease(false);
  EXPECT_TRUE(doc_.ReleaseObj(CPDFObjRef(5, 0), false));
  EXPECT_EQ(doc_.GetBodies()[1]->GetObj(CPDFObjRef(5, 0)), obj);
  EXPECT_TRUE(doc_.ReleaseObj(CPDFObjRef(5, 0), true));
  EXPECT_EQ(doc_.GetBodies()[1]->GetObj(CPDFObjRef(5, 0)), nullptr);
  // Loaded again on demand from the file.
  EXPECT_EQ(IntValue(doc_.GetObj(CPDFObjRef(5, 0))), 50);
  EXPECT_TRUE(doc_.ReleaseObj(CPDFObjRef(4, 0), false));  // not loaded: nothing to do

  // Releasing a container releases the indirect objects it refers to.
  auto* pages = static_cast<CPDFDict*>(doc_.GetObj(CPDFObjRef(2, 0)));
  ASSERT_NE(pages, nullptr);
  ASSERT_NE(pages->GetValue(&doc_, "Kids"), nullptr);
  ASSERT_NE(static_cast<CPDFArray*>(pages->GetValue(&doc_, "Kids"))->GetObj(&doc_, 0), nullptr);
  ASSERT_NE(doc_.FindObj(CPDFObjRef(3, 0), false, nullptr), nullptr);
  EXPECT_TRUE(doc_.ReleaseObj(CPDFObjRef(2, 0), false));
  EXPECT_EQ(doc_.FindObj(CPDFObjRef(2, 0), false, nullptr), nullptr);
  EXPECT_EQ(doc_.FindObj(CPDFObjRef(3, 0), false, nullptr), nullptr);
}

TEST_F(ObjectTable, UnloadTakesOnlyTheObjectAndOnlyOneAsInTheFile) {
  OpenNumbers();
  const CPDFObjRef page(3, 0), node(2, 0);
  CPDFObjRef ref;
  CPDFPage* first = doc_.GetPage(0, &ref);
  ASSERT_NE(first, nullptr) << Describe(doc_.GetError());
  ASSERT_EQ(ref, page);
  CPDFObject* parent = first->Get_Parent();
  ASSERT_NE(parent, nullptr);
  ASSERT_EQ(doc_.FindObj(node, false, nullptr), parent);

  // The page goes; the node it refers to (and that refers to it) stays.
  EXPECT_TRUE(doc_.UnloadObj(page)) << Describe(doc_.GetError());
  EXPECT_EQ(doc_.FindObj(page, false, nullptr), nullptr);
  EXPECT_EQ(doc_.FindObj(node, false, nullptr), parent);
  EXPECT_TRUE(doc_.UnloadObj(page));  // not loaded: nothing to do
  CPDFPage* again = doc_.GetPage(0, &ref);
  ASSERT_NE(again, nullptr) << Describe(doc_.GetError());
  EXPECT_EQ(ref, page);
  EXPECT_EQ(again->Get_Parent(), parent);

  // Changed and new objects exist only in memory: they stay.
  ASSERT_NE(doc_.GetObj(CPDFObjRef(5, 0)), nullptr);
  ASSERT_TRUE(doc_.UpdateObj(CPDFObjRef(5, 0)));
  EXPECT_FALSE(doc_.UnloadObj(CPDFObjRef(5, 0)));
  ExpectRecord(doc_.GetError(), "CPDFDoc", "UnloadObj", CPDFException::kUser, "The object is new or changed.");
  EXPECT_EQ(IntValue(doc_.FindObj(CPDFObjRef(5, 0), false, nullptr)), 50);
  CPDFObjRef made;
  ASSERT_TRUE(doc_.RegistObj(new CPDFInt(7), nullptr, &made));
  EXPECT_FALSE(doc_.UnloadObj(made));
  EXPECT_EQ(IntValue(doc_.GetObj(made)), 7);
  EXPECT_FALSE(doc_.UnloadObj(CPDFObjRef()));
}

TEST_F(ObjectTable, DeleteFreesInTheUpdateSectionOnly) {
  OpenNumbers();
  ASSERT_TRUE(doc_.DeleteObj(CPDFObjRef(9, 0)));
  const XRefEntry* e = doc_.GetXRef()->GetEntry(9);
  ASSERT_NE(e, nullptr);
  EXPECT_FALSE(e->inUse);
  EXPECT_EQ(e->genNum, 1);
  EXPECT_TRUE(doc_.GetXRefs()[1]->GetEntry(9)->inUse);
  CPDFXRef* section = nullptr;
  EXPECT_EQ(doc_.FindEntry(9, false, &section), e);
  EXPECT_EQ(section, doc_.GetXRef());
  EXPECT_EQ(doc_.FindEntry(9, true, &section), doc_.GetXRefs()[1]->GetEntry(9));
  EXPECT_EQ(doc_.FindEntry(500, false, nullptr), nullptr);
}

}  // namespace
}  // namespace koyo

namespace koyo {
namespace {

TEST_F(ObjectTable, StreamWithIndirectLengthLoadsAndASelfReferenceFails) {
  PdfBuilder pdf;
  AddMinimalDocument(pdf);
  pdf.Object(4, 0, "<< /Length 5 0 R >>\nstream\nhello\nendstream");
  pdf.Object(5, 0, "5");
  pdf.Object(6, 0, "<< /Length 6 0 R >>\nstream\nloops\nendstream");
  pdf.Object(7, 0, "(after)");
  pdf.Section("/Root 1 0 R", 8);
  OpenText(pdf.Text());
  auto* stream = dynamic_cast<CPDFStream*>(doc_.GetObj(CPDFObjRef(4, 0)));
  ASSERT_NE(stream, nullptr) << Describe(doc_.GetError());
  ASSERT_NE(stream->GetData(), nullptr);
  EXPECT_EQ(std::string(stream->GetData(), static_cast<size_t>(stream->GetSize())).substr(0, 5), "hello");
  EXPECT_TRUE(stream->Get_Length()->IsType(CPDFObject::kInt));
  // Reading 6 needs 6: a failure, not endless recursion; the file stays usable.
  EXPECT_EQ(doc_.GetObj(CPDFObjRef(6, 0)), nullptr);
  ExpectRecord(doc_.GetError(), "CPDFDoc", "LoadObj", 4, "invalidobjref: 6 0");
  CPDFObject* after = doc_.GetObj(CPDFObjRef(7, 0));
  ASSERT_NE(after, nullptr) << Describe(doc_.GetError());
  EXPECT_TRUE(after->IsType(CPDFObject::kString));
}

}  // namespace
}  // namespace koyo
