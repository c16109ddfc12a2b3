#include <gtest/gtest.h>

#include <string>

#include "SyntaxTestUtil.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFBool.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFString.h"

namespace koyo {
namespace {

using test::Parse;
using test::ParseFailure;

const CPDFNumber& AsNumber(const CPDFAtom* atom) {
  EXPECT_TRUE(atom && atom->IsObject() && static_cast<const CPDFObject*>(atom)->GetType() == CPDFObject::kNumber);
  return *static_cast<const CPDFNumber*>(atom);
}

std::string Bytes(const CPDFObject& obj) {
  const auto& s = dynamic_cast<const TempString<char>&>(obj);
  return std::string(s.c_str(), static_cast<size_t>(s.Length()));
}

TEST(ObjectReaderTest, DictionariesArraysAndReferences) {
  auto obj = Parse("<</A 1/B[2 3]>>");
  ASSERT_TRUE(obj && obj->GetType() == CPDFObject::kDict);
  auto& dict = static_cast<CPDFDict&>(*obj);
  EXPECT_TRUE(dict.IsDefined());
  EXPECT_EQ(AsNumber(dict.GetValue(nullptr, "A")).GetInt(), 1);
  auto* b = dict.GetValue(nullptr, "B");
  ASSERT_TRUE(b && b->GetType() == CPDFObject::kArray);
  auto* arr = static_cast<CPDFArray*>(b);
  ASSERT_EQ(arr->Count(), 2);
  EXPECT_EQ(AsNumber(arr->GetAt(0)).GetInt(), 2);
  EXPECT_EQ(AsNumber(arr->GetAt(1)).GetInt(), 3);

  obj = Parse("<< /Type /Page %c\r\n /Type /Pages >>");
  auto& twice = static_cast<CPDFDict&>(*obj);
  int entries = 0;
  for (auto it = twice.begin(); it != twice.end(); ++it) ++entries;
  EXPECT_EQ(entries, 1);
  EXPECT_EQ(Bytes(*twice.GetValue(nullptr, "Type")), "Pages");

  obj = Parse("[1 0 R 2]");
  auto& refs = static_cast<CPDFArray&>(*obj);
  ASSERT_EQ(refs.Count(), 2);
  ASSERT_TRUE(refs.GetAt(0)->IsReference());
  EXPECT_EQ(*static_cast<CPDFObjRef*>(refs.GetAt(0)), CPDFObjRef(1, 0));
  EXPECT_EQ(AsNumber(refs.GetAt(1)).GetInt(), 2);

  obj = Parse("[1 0 2]");
  auto& nums = static_cast<CPDFArray&>(*obj);
  ASSERT_EQ(nums.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(nums.GetAt(i)->IsReference());

  // A reference as a dictionary value, followed by a delimiter.
  obj = Parse("<</P 12 5 R/Q[]>>");
  CPDFObjRef ref;
  EXPECT_EQ(static_cast<CPDFDict&>(*obj).GetValue(nullptr, "P", &ref), nullptr);
  EXPECT_EQ(ref, CPDFObjRef(12, 5));
}

TEST(ObjectReaderTest, ReadRefLooksAheadOnly) {
  const std::string text = "3 0 obj";
  StrLoad in;
  ASSERT_TRUE(in.Open(text.data(), static_cast<int64_t>(text.size()), 2));
  EXPECT_EQ(ReadRef(nullptr, in), nullptr);
  EXPECT_EQ(in.Tell(), 0);
  const std::string ok = " 4 1 R x";
  ASSERT_TRUE(in.Open(ok.data(), static_cast<int64_t>(ok.size())));
  auto ref = ReadRef(nullptr, in);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(*ref, CPDFObjRef(4, 1));
}

TEST(ObjectReaderTest, StringsNamesNumbersAndKeywords) {
  struct Case {
    const char* text;
    int32_t type;
    std::string bytes;  // for strings and names
  };
  const Case cases[] = {
      {"(a(b)c)", CPDFObject::kString, "a(b)c"},
      {"(a\\)b)", CPDFObject::kString, "a)b"},
      {"(\\101)", CPDFObject::kString, "A"},
      {"(ab\\\r\ncd)", CPDFObject::kString, "abcd"},
      {"(ab\\\ncd\\\rx)", CPDFObject::kString, "abcdx"},
      {"(\\n\\r\\t\\b\\f\\(\\)\\\\)", CPDFObject::kString, "\n\r\t\b\f()\\"},
      {"(\\0053\\7)", CPDFObject::kString, std::string("\x05" "3\x07")},
      {"(\\\\(x))", CPDFObject::kString, "\\(x)"},
      {"()", CPDFObject::kString, ""},
      {"<48 65 6C\r\n6c 6F>", CPDFObject::kString, "Hello"},
      {"<ABC>", CPDFObject::kString, "\xAB\xC0"},
      {"<7>", CPDFObject::kString, "\x70"},
      {"<>", CPDFObject::kString, ""},
      {"/A#20B ", CPDFObject::kName, "A B"},
      {"/a#2f#2F(", CPDFObject::kName, "a//"},
      {"/A#2 ", CPDFObject::kName, "A"},
      {"/{x}\n", CPDFObject::kName, "{x}"},
  };
  for (const Case& c : cases) {
    auto obj = Parse(c.text);
    ASSERT_NE(obj, nullptr) << c.text;
    EXPECT_EQ(obj->GetType(), c.type) << c.text;
    EXPECT_EQ(Bytes(*obj), c.bytes) << c.text;
    if (c.type == CPDFObject::kString) {
      EXPECT_EQ(static_cast<CPDFString&>(*obj).IsLiteral(), c.text[0] == '(') << c.text;
    }
  }

  struct Num {
    const char* text;
    int32_t integer;
    float real;
  };
  const Num nums[] = {{"%comment\r\n5", 5, 5.0f}, {"-3.7", -3, -3.7f}, {"2.9", 2, 2.9f},
                      {"+5", 5, 5.0f},           {"-", 0, 0.0f},     {"1.5e2", 1, 150.0f},
                      {".5]", 0, 0.5f}};
  for (const Num& n : nums) {
    auto obj = Parse(n.text);
    EXPECT_EQ(AsNumber(obj.get()).GetInt(), n.integer) << n.text;
    EXPECT_FLOAT_EQ(AsNumber(obj.get()).GetReal(), n.real) << n.text;
  }

  auto t = Parse("true");
  ASSERT_TRUE(t && t->GetType() == CPDFObject::kBool);
  EXPECT_TRUE(static_cast<CPDFBool&>(*t).GetValue());
  auto f = Parse(" false]");
  EXPECT_FALSE(static_cast<CPDFBool&>(*f).GetValue());
  auto n = Parse("null");
  ASSERT_TRUE(n && n->GetType() == CPDFObject::kNull);
  EXPECT_TRUE(n->IsDefined());

  // Nothing that starts an object: null, no failure.
  EXPECT_EQ(Parse(""), nullptr);
  EXPECT_EQ(Parse("  % only a comment"), nullptr);
  EXPECT_EQ(Parse(")"), nullptr);
  EXPECT_EQ(Parse("R"), nullptr);
}

TEST(ObjectReaderTest, LongNamesStringsAndTokens) {
  const std::string longName(300, 'n');
  auto name = Parse("/" + longName + " ");
  EXPECT_EQ(Bytes(*name), longName);
  const std::string longText(300, 's');
  auto str = Parse("(" + longText + ")");
  EXPECT_EQ(Bytes(*str), longText);

  // A 300-byte numeric token: the first 255 bytes make one number, the rest the next.
  const std::string digits = std::string(298, '0') + "42";
  StrLoad in;
  ASSERT_TRUE(in.Open(digits.data(), static_cast<int64_t>(digits.size())));
  auto first = ReadObject(nullptr, in, nullptr);
  auto second = ReadObject(nullptr, in, nullptr);
  EXPECT_EQ(AsNumber(first.get()).GetInt(), 0);
  EXPECT_EQ(AsNumber(second.get()).GetInt(), 42);
}

TEST(ObjectReaderTest, FailuresNameClassMethodAndToken) {
  struct Case {
    const char* text;
    const char* module;
    const char* method;
    int32_t type;
    const char* factor;
  };
  const int32_t kFormat = CPDFException::kInvalidFormat;
  const Case cases[] = {
      {"<4G>", "CPDFString", "Serialize", kFormat, "invalidtoken: G"},
      {"(abc", "CPDFString", "Serialize", kFormat, "ioerror"},
      {"<414", "CPDFString", "Serialize", kFormat, "ioerror"},
      {"<", "CPDFDict", "SerializeObject", kFormat, "ioerror"},
      {"/ ", "CPDFName", "Serialize", kFormat, "ioerror"},
      {"/", "CPDFName", "Serialize", kFormat, "ioerror"},
      {"/Name", "CPDFName", "Serialize", kFormat, "ioerror"},
      {"/# ", "CPDFName", "Serialize", kFormat, "ioerror"},
      {"/#4<", "CPDFName", "Serialize", kFormat, "ioerror"},
      {"truex", "CPDFBool", "Serialize", kFormat, "invalidtoken: truex"},
      {"nul", "CPDFNull", "Serialize", kFormat, "invalidtoken: nul"},
      {"<</A>>", "CPDFDict", "Serialize", kFormat, "invalidtoken: >"},
      {"<</A 1", "CPDFDict", "Serialize", kFormat, "ioerror"},
      {"<</A", "CPDFName", "Serialize", kFormat, "ioerror"},
      {"<</A )>>", "CPDFDict", "Serialize", kFormat, "invalidtoken: )"},
      {"<<1 2>>", "CPDFDict", "Serialize", kFormat, "typecheck: Number"},
      {"<<(k) 2>>", "CPDFDict", "Serialize", kFormat, "typecheck: String"},
      {"<<R 2>>", "CPDFDict", "Serialize", kFormat, "invalidtoken: R"},
      {"[1 2", "CPDFArray", "Serialize", kFormat, "ioerror"},
      {"[1 ) 2]", "CPDFArray", "Serialize", kFormat, "invalidtoken: )"},
      {"[[1] [2 >>]", "CPDFArray", "Serialize", kFormat, "invalidtoken: >"},
  };
  for (const Case& c : cases) {
    CPDFException e = ParseFailure(c.text);
    EXPECT_EQ(e.Module, c.module) << c.text;
    EXPECT_EQ(e.Method, c.method) << c.text;
    EXPECT_EQ(e.Type, c.type) << c.text;
    EXPECT_EQ(e.Factor, c.factor) << c.text;
  }
}

TEST(ObjectReaderTest, ReadingIntoExistingValues) {
  const std::string text = "[/x] (y)";
  StrLoad in;
  ASSERT_TRUE(in.Open(text.data(), static_cast<int64_t>(text.size())));
  CPDFArray array;
  array.Push_Back(new CPDFNumber(int32_t{9}));
  ReadArray(array, nullptr, in, nullptr);
  EXPECT_EQ(array.Count(), 2);  // appended to what was there
  EXPECT_TRUE(array.IsDefined());
  CPDFString string("old");
  in.SkipWhite();
  ReadString(string, in, nullptr);
  EXPECT_STREQ(string.c_str(), "y");
  CPDFName name;
  const std::string bad = "(n)";
  ASSERT_TRUE(in.Open(bad.data(), static_cast<int64_t>(bad.size())));
  try {
    ReadName(name, in);
    ADD_FAILURE() << "no failure";
  } catch (const CPDFException& e) {
    EXPECT_EQ(e.Factor, "invalidtoken: (");
  }
}

// Nesting deeper than the limit fails cleanly instead of exhausting the stack;
// the limit itself is readable.
TEST(ObjectReaderTest, NestingIsBounded) {
  const int limit = kMaxObjectNesting;
  auto deep = Parse(std::string(limit, '[') + std::string(limit, ']'));
  ASSERT_NE(deep, nullptr);

  CPDFException e = ParseFailure(std::string(limit + 1, '[') + std::string(limit + 1, ']'));
  EXPECT_EQ(e.Module, "CPDFArray");
  EXPECT_EQ(e.Factor, "invalidtoken: [");

  e = ParseFailure(std::string(1000000, '['));
  EXPECT_EQ(e.Type, CPDFException::kInvalidFormat);
  EXPECT_EQ(e.Factor, "invalidtoken: [");

  std::string dicts;
  for (int i = 0; i < 100000; ++i) dicts += "<</A ";
  e = ParseFailure(dicts);
  EXPECT_EQ(e.Module, "CPDFDict");
  EXPECT_EQ(e.Factor, "invalidtoken: <<");

  std::string mixed;
  for (int i = 0; i < 100000; ++i) mixed += "[<</K ";
  e = ParseFailure(mixed);
  EXPECT_EQ(e.Type, CPDFException::kInvalidFormat);
}

}  // namespace
}  // namespace koyo
