#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeObjectTable.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNull.h"
#include "koyo/object/CPDFString.h"

namespace koyo {
namespace {

using test::FakeObjectTable;

// A value that counts its destructions.
int g_destroyed = 0;
struct Tracked : CPDFNull {
  ~Tracked() override { ++g_destroyed; }
};

std::vector<std::string> Keys(const CPDFDict& d) {
  std::vector<std::string> out;
  for (const auto& e : d) out.emplace_back(e.key.c_str());
  return out;
}

TEST(CPDFDict, KeysStayInAscendingByteOrder) {
  CPDFDict d;
  for (const char* k : {"Type", "Font", "Annots", "\xC0high", "MediaBox", "Contents"}) {
    ASSERT_TRUE(d.Insert(k, new CPDFNull));
  }
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"Annots", "Contents", "Font", "MediaBox", "Type", "\xC0high"}));
}

TEST(CPDFDict, SetValueReplacesAndDestroysTheOldValue) {
  g_destroyed = 0;
  CPDFDict d;
  ASSERT_TRUE(d.SetValue(nullptr, "A", new Tracked));
  ASSERT_TRUE(d.SetValue(nullptr, "B", new CPDFInt(1)));
  ASSERT_TRUE(d.SetValue(nullptr, "A", new CPDFInt(2)));
  EXPECT_EQ(g_destroyed, 1);
  EXPECT_EQ(d.Count(), 2);
  auto* a = dynamic_cast<CPDFInt*>(d.GetValue(nullptr, "A"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetInt(), 2);
}

TEST(CPDFDict, GetValueResolvesReferencesThroughTheDocument) {
  FakeObjectTable doc;
  CPDFObjRef fontRef = doc.Add(new CPDFName("Helvetica"));
  CPDFDict d;
  ASSERT_TRUE(d.Insert("Font", new CPDFObjRef(fontRef)));
  ASSERT_TRUE(d.Insert("Size", new CPDFInt(12)));

  CPDFObjRef ref(99, 99);
  EXPECT_EQ(d.GetValue(&doc, "Font", &ref), doc.Get(fontRef));
  EXPECT_EQ(ref, fontRef);
  EXPECT_GT(doc.clears, 0);
  // Without a document the reference is still reported, the value is not.
  ref.Reset();
  EXPECT_EQ(d.GetValue(nullptr, "Font", &ref), nullptr);
  EXPECT_EQ(ref, fontRef);
  // A direct value comes back as it is, and resets the reference out.
  EXPECT_NE(dynamic_cast<CPDFInt*>(d.GetValue(&doc, "Size", &ref)), nullptr);
  EXPECT_FALSE(ref.IsValid());
  EXPECT_EQ(d.GetValue(&doc, "Missing", &ref), nullptr);
  // A reference the document cannot load gives null.
  ASSERT_TRUE(d.Insert("Dangling", new CPDFObjRef(40, 0)));
  EXPECT_EQ(d.GetValue(&doc, "Dangling"), nullptr);
}

TEST(CPDFDict, IndirectSetValueRegistersInTheDocument) {
  FakeObjectTable doc;
  CPDFDict d;
  CPDFObjRef ref;
  ASSERT_TRUE(d.SetValue(&doc, "Info", new CPDFDict, true, &ref));
  EXPECT_TRUE(ref.IsValid());
  EXPECT_EQ(doc.Size(), 1u);
  CPDFObjRef seen;
  EXPECT_EQ(d.GetValue(&doc, "Info", &seen), doc.Get(ref));
  EXPECT_EQ(seen, ref);
  // A proposed reference is used.
  CPDFObjRef proposed(17, 0);
  ASSERT_TRUE(d.SetValue(&doc, "Root", new CPDFDict, true, &proposed));
  EXPECT_EQ(proposed, CPDFObjRef(17, 0));
  EXPECT_NE(doc.Get(CPDFObjRef(17, 0)), nullptr);
  // No document, or a refusing one: false, entry unchanged, nothing leaked.
  EXPECT_FALSE(d.SetValue(nullptr, "X", new CPDFDict, true));
  doc.refuseRegist = true;
  EXPECT_FALSE(d.SetValue(&doc, "X", new CPDFDict, true));
  EXPECT_FALSE(d.HasKey("X"));
}

TEST(CPDFDict, RemoveValueDeletesIndirectObjectsFromTheDocument) {
  FakeObjectTable doc;
  CPDFDict d;
  CPDFObjRef ref;
  ASSERT_TRUE(d.SetValue(&doc, "Ind", new CPDFInt(1), true, &ref));
  ASSERT_TRUE(d.SetValue(&doc, "Dir", new CPDFInt(2)));
  EXPECT_TRUE(d.RemoveValue(&doc, "Ind"));
  EXPECT_EQ(doc.Size(), 0u);
  ASSERT_EQ(doc.deleted.size(), 1u);
  EXPECT_EQ(doc.deleted[0], ref);
  EXPECT_TRUE(d.RemoveValue(&doc, "Dir"));
  EXPECT_FALSE(d.RemoveValue(&doc, "Dir"));
  EXPECT_EQ(d.Count(), 0);
  // A reference whose object the document cannot delete stays.
  ASSERT_TRUE(d.Insert("Gone", new CPDFObjRef(50, 0)));
  EXPECT_FALSE(d.RemoveValue(&doc, "Gone"));
  EXPECT_TRUE(d.HasKey("Gone"));
}

TEST(CPDFArray, ElementOperations) {
  FakeObjectTable doc;
  CPDFArray a;
  ASSERT_TRUE(a.Push_Back(&doc, new CPDFInt(1)));
  CPDFObjRef ref;
  ASSERT_TRUE(a.Push_Back(&doc, new CPDFString("s"), true, &ref));
  ASSERT_TRUE(a.Push_Front(&doc, new CPDFInt(0)));
  ASSERT_EQ(a.Count(), 3);
  EXPECT_EQ(a.GetObj(&doc, 2), doc.Get(ref));
  EXPECT_EQ(a.GetObj(&doc, 3), nullptr);
  EXPECT_EQ(a.GetObj(&doc, -1), nullptr);
  CPDFObjRef seen;
  EXPECT_EQ(a.GetObj(nullptr, 2, &seen), nullptr);
  EXPECT_EQ(seen, ref);

  g_destroyed = 0;
  EXPECT_FALSE(a.SetObj(&doc, 3, new Tracked));  // outside: refused and destroyed
  EXPECT_EQ(g_destroyed, 1);
  ASSERT_TRUE(a.SetObj(&doc, 0, new Tracked));
  ASSERT_TRUE(a.SetObj(&doc, 0, new CPDFInt(5)));
  EXPECT_EQ(g_destroyed, 2);
  EXPECT_EQ(dynamic_cast<CPDFInt*>(a.GetObj(&doc, 0))->GetInt(), 5);

  EXPECT_TRUE(a.RemoveObj(&doc, 2));
  EXPECT_EQ(doc.Size(), 0u);
  EXPECT_FALSE(a.RemoveObj(&doc, 2));
  EXPECT_EQ(a.Count(), 2);
}

TEST(CPDFArray, GrowsFromTenToTwenty) {
  CPDFArray a;
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(a.Push_Back(nullptr, new CPDFInt(i)));
  EXPECT_EQ(a.Capacity(), 10);
  ASSERT_TRUE(a.Push_Back(nullptr, new CPDFInt(10)));
  EXPECT_EQ(a.Capacity(), 20);
}

TEST(Release, HonoursTheReleaseFlag) {
  FakeObjectTable doc;
  auto* keep = new CPDFDict;
  keep->SetRelease(false);
  CPDFObjRef keepRef = doc.Add(keep);
  CPDFObjRef dropRef = doc.Add(new CPDFDict);
  CPDFObjRef innerRef = doc.Add(new CPDFInt(3));
  CPDFDict d;
  ASSERT_TRUE(d.Insert("Keep", new CPDFObjRef(keepRef)));
  ASSERT_TRUE(d.Insert("Drop", new CPDFObjRef(dropRef)));
  auto* arr = new CPDFArray;
  ASSERT_TRUE(arr->Push_Back(new CPDFObjRef(innerRef)));
  ASSERT_TRUE(d.Insert("Nested", arr));
  EXPECT_TRUE(d.Release(&doc));
  EXPECT_NE(doc.Get(keepRef), nullptr);
  EXPECT_EQ(doc.Get(dropRef), nullptr);
  EXPECT_EQ(doc.Get(innerRef), nullptr);  // reached through the direct array
  // A reference the document refuses fails the release.
  testing::internal::CaptureStdout();
  EXPECT_FALSE(d.Release(&doc));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "docP->ReleaseObj: 2, 0\n");
}

TEST(Linearize, RenumbersKnownReferencesAndHandsOverOthers) {
  FakeObjectTable doc;
  ObjRefMap renumber;
  ASSERT_TRUE(renumber.Insert(CPDFObjRef(3, 0), CPDFObjRef(10, 0)));
  doc.renumber = &renumber;
  CPDFDict d;
  ASSERT_TRUE(d.Insert("Known", new CPDFObjRef(3, 0)));
  ASSERT_TRUE(d.Insert("Other", new CPDFObjRef(4, 0)));
  auto* skipped = new CPDFArray;
  ASSERT_TRUE(skipped->Push_Back(new CPDFObjRef(3, 0)));
  skipped->SetLinearize(false);
  ASSERT_TRUE(d.Insert("Skipped", skipped));
  auto* inner = new CPDFArray;
  ASSERT_TRUE(inner->Push_Back(new CPDFObjRef(3, 0)));
  ASSERT_TRUE(d.Insert("Inner", inner));

  EXPECT_TRUE(d.Linearize(&doc));
  CPDFObjRef ref;
  d.GetValue(nullptr, "Known", &ref);
  EXPECT_EQ(ref, CPDFObjRef(10, 0));
  ASSERT_EQ(doc.linearized.size(), 1u);
  EXPECT_EQ(doc.linearized[0], CPDFObjRef(4, 0));
  skipped->GetObj(nullptr, 0, &ref);
  EXPECT_EQ(ref, CPDFObjRef(3, 0));  // not descended into
  inner->GetObj(nullptr, 0, &ref);
  EXPECT_EQ(ref, CPDFObjRef(10, 0));
  doc.refuseLinearize = true;
  EXPECT_FALSE(d.Linearize(&doc));
}

TEST(Adopt, ContainersExchangeScalarsCopy) {
  CPDFDict generic;
  ASSERT_TRUE(generic.Insert("Type", new CPDFName("Page")));
  CPDFDict typed;
  ASSERT_TRUE(typed.Insert("Old", new CPDFNull));
  ASSERT_TRUE(typed.Adopt(nullptr, &generic));
  EXPECT_EQ(Keys(typed), std::vector<std::string>{"Type"});
  EXPECT_EQ(Keys(generic), std::vector<std::string>{"Old"});

  CPDFArray a, b;
  ASSERT_TRUE(b.Push_Back(nullptr, new CPDFInt(1)));
  ASSERT_TRUE(a.Adopt(nullptr, &b));
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(b.Count(), 0);

  CPDFName n;
  CPDFName src("F1");
  ASSERT_TRUE(n.Adopt(nullptr, &src));
  EXPECT_STREQ(n.c_str(), "F1");
  EXPECT_STREQ(src.c_str(), "F1");
  CPDFInt i;
  CPDFNumber num(2.5f);
  ASSERT_TRUE(i.Adopt(nullptr, &num));
  EXPECT_EQ(i.GetInt(), 2);
  EXPECT_FLOAT_EQ(i.GetReal(), 2.5f);
  EXPECT_FALSE(n.Adopt(nullptr, &num));  // another class
  EXPECT_FALSE(a.Adopt(nullptr, &typed));
}

// A key handed over to a new entry gives up its bytes; an existing entry keeps
// its own key and only the value changes, leaving the given key as it was.
TEST(InsertTaking, NewEntriesTakeTheKeyExistingOnesKeepTheirs) {
  CPDFDict d;
  for (const char* k : {"Type", "Font", "Width", "Alpha"}) {
    CPDFName key(k);
    key.SetDefined(true);
    ASSERT_TRUE(d.InsertTaking(key, new CPDFInt(1)));
    EXPECT_EQ(key.Length(), 0) << k;
    auto it = d.FindKey(k);
    ASSERT_NE(it, d.end()) << k;
    EXPECT_STREQ(it->key.c_str(), k);
    EXPECT_TRUE(it->key.IsDefined());  // the key object's flags travel with it
  }
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"Alpha", "Font", "Type", "Width"}));

  CPDFName again("Font");
  ASSERT_TRUE(d.InsertTaking(again, new CPDFInt(2)));
  EXPECT_STREQ(again.c_str(), "Font");
  auto* value = dynamic_cast<CPDFInt*>(d.GetValue(nullptr, "Font"));
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->GetInt(), 2);
  EXPECT_EQ(d.Count(), 4);
}

}  // namespace
}  // namespace koyo
