#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FakeObjectTable.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFBool.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFString.h"
#include "koyo/object/CopyContext.h"

namespace koyo {
namespace {

using test::FakeObjectTable;

// A dictionary subclass with data of its own, as a stream is: copies of
// containers must come out as this class with the data copied.
struct DataDict : CPDFDict {
  std::string data;
  CPDFObject* MakeEmpty() const override { return new DataDict; }
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override {
    auto* t = dynamic_cast<DataDict*>(target);
    if (!t || !CPDFDict::CopyInto(t, context, targetDoc, sourceDoc, overwrite)) return false;
    t->data = data;
    return true;
  }
};

std::unique_ptr<CPDFObject> Dup(const CPDFObject& o, ObjectTable* target = nullptr, ObjectTable* source = nullptr) {
  return std::unique_ptr<CPDFObject>(o.Duplicate(target, source));
}

TEST(Duplicate, DeepCopiesDirectValues) {
  CPDFDict d;
  d.SetDefined(true);
  ASSERT_TRUE(d.Insert("Name", new CPDFName("Helv")));
  ASSERT_TRUE(d.Insert("Flag", new CPDFBool(true)));
  ASSERT_TRUE(d.Insert("Num", new CPDFNumber(2.9f)));
  auto* arr = new CPDFArray;
  ASSERT_TRUE(arr->Push_Back(nullptr, new CPDFString("a\0b", 3)));
  ASSERT_TRUE(arr->Push_Back(nullptr, new CPDFInt(7)));
  ASSERT_TRUE(d.Insert("Arr", arr));
  auto* data = new DataDict;
  data->data = "stream bytes";
  ASSERT_TRUE(data->Insert("Length", new CPDFInt(12)));
  ASSERT_TRUE(d.Insert("Stream", data));

  auto copy = Dup(d);
  auto* c = dynamic_cast<CPDFDict*>(copy.get());
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->IsDefined());
  EXPECT_EQ(c->Count(), 5);
  EXPECT_STREQ(dynamic_cast<CPDFName*>(c->GetValue(nullptr, "Name"))->c_str(), "Helv");
  EXPECT_TRUE(dynamic_cast<CPDFBool*>(c->GetValue(nullptr, "Flag"))->GetValue());
  auto* num = dynamic_cast<CPDFNumber*>(c->GetValue(nullptr, "Num"));
  EXPECT_EQ(num->GetInt(), 2);
  EXPECT_FLOAT_EQ(num->GetReal(), 2.9f);
  auto* carr = dynamic_cast<CPDFArray*>(c->GetValue(nullptr, "Arr"));
  ASSERT_NE(carr, nullptr);
  EXPECT_NE(carr, arr);
  ASSERT_EQ(carr->Count(), 2);
  auto* s = dynamic_cast<CPDFString*>(carr->GetObj(nullptr, 0));
  EXPECT_EQ(std::string(s->c_str(), s->Length()), std::string("a\0b", 3));
  EXPECT_EQ(carr->GetObj(nullptr, 1)->GetType(), CPDFObject::kInt);
  auto* cdata = dynamic_cast<DataDict*>(c->GetValue(nullptr, "Stream"));
  ASSERT_NE(cdata, nullptr);
  EXPECT_EQ(cdata->data, "stream bytes");
  EXPECT_EQ(cdata->Count(), 1);
  // The copy is independent of the original.
  ASSERT_TRUE(arr->SetObj(nullptr, 1, new CPDFInt(8)));
  EXPECT_EQ(dynamic_cast<CPDFInt*>(carr->GetObj(nullptr, 1))->GetInt(), 7);
}

TEST(Duplicate, LeavesOutValuesWithoutTheCopyFlag) {
  CPDFDict d;
  auto* hidden = new CPDFInt(1);
  hidden->SetCopy(false);
  ASSERT_TRUE(d.Insert("Hidden", hidden));
  ASSERT_TRUE(d.Insert("Shown", new CPDFInt(2)));
  auto copy = Dup(d);
  auto* c = dynamic_cast<CPDFDict*>(copy.get());
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->HasKey("Hidden"));
  EXPECT_TRUE(c->HasKey("Shown"));
}

TEST(Duplicate, AReferenceNeedsASourceDocument) {
  CPDFDict d;
  ASSERT_TRUE(d.Insert("Ref", new CPDFObjRef(1, 0)));
  EXPECT_EQ(Dup(d), nullptr);
  CPDFArray a;
  ASSERT_TRUE(a.Push_Back(new CPDFObjRef(1, 0)));
  EXPECT_EQ(Dup(a), nullptr);
  FakeObjectTable source;
  EXPECT_EQ(Dup(d, nullptr, &source), nullptr);  // the document cannot load it
}

TEST(Duplicate, InlinesReferencedObjectsWithoutATargetDocument) {
  FakeObjectTable source;
  CPDFObjRef r = source.Add(new CPDFInt(42));
  CPDFDict d;
  ASSERT_TRUE(d.Insert("A", new CPDFObjRef(r)));
  auto copy = Dup(d, nullptr, &source);
  auto* c = dynamic_cast<CPDFDict*>(copy.get());
  ASSERT_NE(c, nullptr);
  CPDFObjRef seen;
  auto* v = dynamic_cast<CPDFInt*>(c->GetValue(nullptr, "A", &seen));
  ASSERT_NE(v, nullptr);
  EXPECT_FALSE(seen.IsValid());
  EXPECT_EQ(v->GetInt(), 42);
}

TEST(Duplicate, CopiesASharedObjectIntoTheTargetOnce) {
  FakeObjectTable source, target;
  target.next = 100;
  CPDFObjRef font = source.Add(new CPDFName("Font"));
  CPDFDict d;
  ASSERT_TRUE(d.Insert("F1", new CPDFObjRef(font)));
  ASSERT_TRUE(d.Insert("F2", new CPDFObjRef(font)));
  auto* inner = new CPDFArray;  // also shared with a nested container
  ASSERT_TRUE(inner->Push_Back(new CPDFObjRef(font)));
  ASSERT_TRUE(d.Insert("List", inner));

  auto copy = Dup(d, &target, &source);
  auto* c = dynamic_cast<CPDFDict*>(copy.get());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(target.Size(), 1u);
  CPDFObjRef r1, r2, r3;
  EXPECT_NE(c->GetValue(&target, "F1", &r1), nullptr);
  c->GetValue(&target, "F2", &r2);
  dynamic_cast<CPDFArray*>(c->GetValue(nullptr, "List"))->GetObj(nullptr, 0, &r3);
  EXPECT_EQ(r1, CPDFObjRef(100, 0));
  EXPECT_EQ(r2, r1);
  EXPECT_EQ(r3, r1);
  EXPECT_STREQ(dynamic_cast<CPDFName*>(target.Get(r1))->c_str(), "Font");
  EXPECT_EQ(source.Size(), 1u);
}

TEST(Duplicate, AReferenceCycleEndsInFailure) {
  FakeObjectTable source, target;
  // 1 0 obj << /Next 2 0 R >>   2 0 obj << /Prev 1 0 R >>
  auto* one = new CPDFDict;
  auto* two = new CPDFDict;
  CPDFObjRef r1 = source.Add(one);
  CPDFObjRef r2 = source.Add(two);
  ASSERT_TRUE(one->Insert("Next", new CPDFObjRef(r2)));
  ASSERT_TRUE(two->Insert("Prev", new CPDFObjRef(r1)));
  EXPECT_EQ(Dup(*one, nullptr, &source), nullptr);
  EXPECT_EQ(Dup(*one, &target, &source), nullptr);
  // A self-reference through an array.
  auto* self = new CPDFArray;
  CPDFObjRef r3 = source.Add(self);
  ASSERT_TRUE(self->Push_Back(new CPDFObjRef(r3)));
  CPDFDict holder;
  ASSERT_TRUE(holder.Insert("Self", new CPDFObjRef(r3)));
  EXPECT_EQ(Dup(holder, &target, &source), nullptr);
}

TEST(Duplicate, DeepNestingIsBounded) {
  auto nest = [](int depth) {
    auto* root = new CPDFArray;
    CPDFArray* cur = root;
    for (int i = 0; i < depth; ++i) {
      auto* next = new CPDFArray;
      EXPECT_TRUE(cur->Push_Back(nullptr, next));
      cur = next;
    }
    return std::unique_ptr<CPDFArray>(root);
  };
  EXPECT_NE(Dup(*nest(CopyContext::kMaxDepth - 1)), nullptr);
  EXPECT_EQ(Dup(*nest(CopyContext::kMaxDepth + 10)), nullptr);
}

TEST(CopyTo, ArrayWithoutOverwriteOnlyExtends) {
  CPDFArray src;
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(src.Push_Back(nullptr, new CPDFInt(i)));
  CPDFArray dst;
  ASSERT_TRUE(dst.Push_Back(nullptr, new CPDFInt(10)));
  ASSERT_TRUE(dst.Push_Back(nullptr, new CPDFInt(11)));
  ASSERT_TRUE(src.CopyTo(&dst, nullptr, nullptr, false));
  ASSERT_EQ(dst.Count(), 4);
  int expect[] = {10, 11, 2, 3};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dynamic_cast<CPDFInt*>(dst.GetObj(nullptr, i))->GetInt(), expect[i]);
  // With overwrite the existing elements are replaced.
  ASSERT_TRUE(src.CopyTo(&dst, nullptr, nullptr, true));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dynamic_cast<CPDFInt*>(dst.GetObj(nullptr, i))->GetInt(), i);
}

TEST(CopyTo, DictionaryWithoutOverwriteKeepsTargetKeys) {
  CPDFDict src, dst;
  ASSERT_TRUE(src.Insert("A", new CPDFInt(1)));
  ASSERT_TRUE(src.Insert("B", new CPDFInt(2)));
  ASSERT_TRUE(dst.Insert("A", new CPDFInt(9)));
  ASSERT_TRUE(src.CopyTo(&dst, nullptr, nullptr, false));
  EXPECT_EQ(dynamic_cast<CPDFInt*>(dst.GetValue(nullptr, "A"))->GetInt(), 9);
  EXPECT_EQ(dynamic_cast<CPDFInt*>(dst.GetValue(nullptr, "B"))->GetInt(), 2);
  CPDFArray wrong;
  EXPECT_FALSE(src.CopyTo(&wrong, nullptr, nullptr));  // another class
  EXPECT_FALSE(src.CopyTo(&src, nullptr, nullptr));    // onto itself
}

}  // namespace
}  // namespace koyo
