#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFBool.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNull.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/CPDFReal.h"
#include "koyo/object/CPDFString.h"
#include "koyo/object/CPDFText.h"

namespace koyo {
namespace {

TEST(CPDFObjRef, ValidityEqualityAndOrder) {
  CPDFObjRef none;
  EXPECT_FALSE(none.IsValid());
  EXPECT_FALSE(CPDFObjRef(-1, 0).IsValid());
  EXPECT_FALSE(CPDFObjRef(5, -1).IsValid());
  CPDFObjRef r(5, 0);
  EXPECT_TRUE(r.IsValid());
  EXPECT_EQ(r, CPDFObjRef(5, 0));
  EXPECT_NE(r, CPDFObjRef(5, 1));
  EXPECT_TRUE(r < CPDFObjRef(5, 1));
  EXPECT_TRUE(r < CPDFObjRef(6, 0));
  EXPECT_FALSE(CPDFObjRef(6, 0) < CPDFObjRef(5, 1));
  EXPECT_FALSE(r < CPDFObjRef(5, 0));
  EXPECT_TRUE(CPDFObjRef(-2, 0) < CPDFObjRef(0, 0));  // signed comparison
  CPDFObjRef copy;
  copy = r;
  EXPECT_EQ(copy, r);
  copy.Reset();
  EXPECT_FALSE(copy.IsValid());
  EXPECT_EQ(r.GetKind(), CPDFAtom::kKindReference);
  EXPECT_STREQ(r.GetKindName(), "Indirect Reference");
}

TEST(CPDFObject, TypeCodesNamesAndInitialFlags) {
  struct Case {
    std::unique_ptr<CPDFObject> obj;
    int32_t type;
    const char* name;
  };
  Case cases[] = {
      {std::make_unique<CPDFBool>(), 0x1, "Bool"},       {std::make_unique<CPDFNumber>(), 0x2, "Number"},
      {std::make_unique<CPDFInt>(), 0x4, "Integer"},     {std::make_unique<CPDFReal>(), 0x8, "Real"},
      {std::make_unique<CPDFString>(), 0x10, "String"},  {std::make_unique<CPDFText>(), 0x20, "Text"},
      {std::make_unique<CPDFName>(), 0x40, "Name"},      {std::make_unique<CPDFArray>(), 0x80, "Array"},
      {std::make_unique<CPDFDict>(), 0x100, "Dictionary"}, {std::make_unique<CPDFNull>(), 0x400, "Null"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.obj->GetType(), c.type) << c.name;
    EXPECT_STREQ(c.obj->GetTypeName(), c.name);
    EXPECT_EQ(c.obj->GetKind(), CPDFAtom::kKindObject);
    EXPECT_STREQ(c.obj->GetKindName(), "Object");
    EXPECT_FALSE(c.obj->IsDefined());
    EXPECT_TRUE(c.obj->GetCopy());
    EXPECT_TRUE(c.obj->GetRelease());
    EXPECT_TRUE(c.obj->GetLinearize());
    // Empty copies keep the class.
    std::unique_ptr<CPDFObject> empty(c.obj->MakeEmpty());
    EXPECT_EQ(empty->GetType(), c.type);
    EXPECT_EQ(c.obj->IsType(CPDFObject::kAnyNumber), (c.type & 0xE) != 0);
  }
}

TEST(CPDFNumber, KeepsIntegerAndFloat) {
  CPDFNumber a(-3.7f);
  EXPECT_EQ(a.GetInt(), -3);
  EXPECT_FLOAT_EQ(a.GetReal(), -3.7f);
  CPDFNumber b(int32_t{7});
  EXPECT_EQ(b.GetInt(), 7);
  EXPECT_FLOAT_EQ(b.GetReal(), 7.0f);
  b.SetBoth(2, 2.9f);
  EXPECT_EQ(b.GetInt(), 2);
  EXPECT_FLOAT_EQ(b.GetReal(), 2.9f);
  // Floats beyond the integer range are held at its limits instead of overflowing.
  EXPECT_EQ(CPDFNumber(1e20f).GetInt(), 2147483647);
  EXPECT_EQ(CPDFNumber(-1e20f).GetInt(), -2147483647 - 1);
  EXPECT_EQ(CPDFNumber::Truncate(std::nan("")), 0);
}

TEST(CPDFString, BytesWithNulAndLiteralFlag) {
  CPDFString s("a\0b", 3);
  EXPECT_EQ(s.Length(), 3);
  EXPECT_TRUE(s.IsLiteral());
  s.SetLiteral(false);
  std::unique_ptr<CPDFObject> copy(s.Duplicate(nullptr, nullptr));
  auto* c = dynamic_cast<CPDFString*>(copy.get());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(std::string(c->c_str(), c->Length()), std::string("a\0b", 3));
  EXPECT_FALSE(c->IsLiteral());
  CPDFText t("x");
  std::unique_ptr<CPDFObject> tc(t.Duplicate(nullptr, nullptr));
  EXPECT_EQ(tc->GetType(), CPDFObject::kText);
}

}  // namespace
}  // namespace koyo
