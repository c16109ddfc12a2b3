#include <gtest/gtest.h>

#include <random>
#include <string>

#include "SyntaxTestUtil.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFBool.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNull.h"
#include "koyo/object/CPDFReal.h"
#include "koyo/object/CPDFString.h"
#include "koyo/object/CPDFText.h"

namespace koyo {
namespace {

using test::Parse;
using test::Written;

TEST(ObjectWriterTest, ExactTextOfEachClass) {
  EXPECT_EQ(Written(Parse("7").get()), "7");
  EXPECT_EQ(Written(Parse("1.5").get()), "1.5");
  EXPECT_EQ(Written(Parse("100000.5").get()), "100000");  // beyond 32767: the integer
  EXPECT_EQ(Written(Parse("-32767.25").get()), "-32767.25");
  EXPECT_EQ(Written(Parse("-32768.25").get()), "-32768");
  EXPECT_EQ(Written(Parse("2.9").get()), "2.9");
  CPDFReal real(100000.5f);
  EXPECT_EQ(Written(&real), "100000.5");
  CPDFReal third(1.0f / 3);
  EXPECT_EQ(Written(&third), "0.333333");
  CPDFInt integer(-42);
  EXPECT_EQ(Written(&integer), "-42");
  CPDFInt big(123456789);
  EXPECT_EQ(Written(&big), "123456789");

  CPDFName spaced("A B");
  EXPECT_EQ(Written(&spaced), "/A#20B");
  CPDFName empty;
  EXPECT_EQ(Written(&empty), "/");
  CPDFName delims("#%()/<>[]{}~!\x7f\x80");
  EXPECT_EQ(Written(&delims), "/#23#25#28#29#2F#3C#3E#5B#5D#7B#7D~!#7F#80");

  CPDFString bytes("\x00(\xFF", 3);
  EXPECT_EQ(Written(&bytes), "(\\000\\(\\377)");
  bytes.SetLiteral(false);
  EXPECT_EQ(Written(&bytes), "<0028FF>");
  CPDFString escapes("\b\t\n\f\r\\)\x1f\x7f ~");
  EXPECT_EQ(Written(&escapes), "(\\b\\t\\n\\f\\r\\\\\\)\\037\\177 ~)");

  CPDFText unicode("\xFE\xFF\x00\x41", 4);
  EXPECT_EQ(Written(&unicode), "<FEFF0041>");
  CPDFText plain("Hi");
  plain.SetLiteral(false);  // the content decides, not the flag
  EXPECT_EQ(Written(&plain), "(Hi)");

  CPDFDict dict;
  EXPECT_EQ(Written(&dict), "<<\r\n>>");
  dict.Insert("Type", new CPDFName("XObject"));
  dict.Insert("Length", new CPDFInt(12));
  EXPECT_EQ(Written(&dict), "<<\r\n/Length 12\r\n/Type /XObject\r\n>>");

  CPDFObjRef ref(12, 0);
  EXPECT_EQ(Written(&ref), "12 0 R");

  CPDFArray array;
  EXPECT_EQ(Written(&array), "[]");
  array.Push_Back(new CPDFBool(true));
  array.Push_Back(new CPDFNull);
  array.Push_Back(new CPDFObjRef(3, 1));
  array.Push_Back(new CPDFBool(false));
  EXPECT_EQ(Written(&array), "[true null 3 1 R false]");
}

TEST(ObjectWriterTest, EncryptsCopiesOfStringsOnly) {
  test::ToyCipherFactory factory;
  const uint8_t docKey[5] = {1, 2, 3, 4, 5};
  ObjectKey key = ObjectKey::Make(docKey, 0x123456, 0x0789, &factory);
  EXPECT_EQ(key.bytes[5], 0x56);
  EXPECT_EQ(key.bytes[7], 0x12);
  EXPECT_EQ(key.bytes[8], 0x89);
  EXPECT_EQ(key.bytes[9], 0x07);

  CPDFArray array;
  array.Push_Back(new CPDFString("secret"));
  array.Push_Back(new CPDFString("secret"));
  array.Push_Back(new CPDFName("secret"));
  std::string text = Written(&array, &key);
  EXPECT_EQ(text.find("secret"), text.rfind("/secret") + 1);  // only the name stays plain
  EXPECT_STREQ(static_cast<CPDFString*>(array.GetAt(0))->c_str(), "secret");

  // Each string gets a fresh cipher: both encrypt alike and both read back.
  auto back = Parse(text, nullptr, &key);
  auto& values = static_cast<CPDFArray&>(*back);
  EXPECT_STREQ(static_cast<CPDFString*>(values.GetAt(0))->c_str(), "secret");
  EXPECT_STREQ(static_cast<CPDFString*>(values.GetAt(1))->c_str(), "secret");

  // A key without a cipher factory fails instead of writing plain text.
  ObjectKey bare = ObjectKey::Make(docKey, 1, 0, nullptr);
  StrSave out;
  ASSERT_TRUE(out.Open());
  EXPECT_THROW(WriteObject(out, &array, &bare), CPDFException);
}

// ---- Round trip over generated values ----

class ValueGenerator {
public:
  explicit ValueGenerator(uint32_t seed) : rng_(seed) {}

  CPDFAtom* Any(int depth) {
    int pick = Uniform(0, depth > 0 ? 10 : 7);
    switch (pick) {
      case 0: return new CPDFBool(Uniform(0, 1) == 1);
      case 1: return new CPDFInt(static_cast<int32_t>(rng_()));
      case 2: return new CPDFReal(static_cast<float>(Uniform(-1000000, 1000000) / 1000.0));
      case 3: return new CPDFNull;
      case 4: return Name();
      case 5: {
        auto* s = new CPDFString;
        std::string b = Bytes(0, 40, 0);
        s->Assign(b.data(), static_cast<int32_t>(b.size()));
        s->SetLiteral(Uniform(0, 1) == 1);
        return s;
      }
      case 6: {
        auto* t = new CPDFText;
        std::string b = (Uniform(0, 1) ? std::string("\xFE\xFF") : std::string()) + Bytes(0, 20, 0);
        t->Assign(b.data(), static_cast<int32_t>(b.size()));
        return t;
      }
      case 7: return new CPDFObjRef(Uniform(0, 100000), Uniform(0, 65535));
      case 8:
      case 9: {
        auto* a = new CPDFArray;
        for (int i = Uniform(0, 5); i > 0; --i) a->Push_Back(Any(depth - 1));
        return a;
      }
      default: {
        auto* d = new CPDFDict;
        for (int i = Uniform(0, 5); i > 0; --i) {
          std::unique_ptr<CPDFName> key(Name());
          d->Insert(*key, Any(depth - 1));
        }
        return d;
      }
    }
  }

  // Names hold any byte but NUL.
  CPDFName* Name() {
    std::string b = Bytes(1, 12, 1);  // the empty name is written as a lone slash, which reads as a fault
    return new CPDFName(b.data(), static_cast<int32_t>(b.size()));
  }

private:
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  std::string Bytes(int minLen, int maxLen, int lowest) {
    std::string s(static_cast<size_t>(Uniform(minLen, maxLen)), '\0');
    for (char& c : s) c = static_cast<char>(Uniform(lowest, 255));
    return s;
  }
  std::mt19937 rng_;
};

// Values equal as PDF values: numbers of any class by both numbers, text
// strings by the form they are written in.
::testing::AssertionResult SameValue(const CPDFAtom* a, const CPDFAtom* b) {
  using R = ::testing::AssertionResult;
  if (!a || !b) return a == b ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "null";
  if (a->IsReference() != b->IsReference()) return ::testing::AssertionFailure() << "kind";
  if (a->IsReference()) {
    return *static_cast<const CPDFObjRef*>(a) == *static_cast<const CPDFObjRef*>(b)
               ? ::testing::AssertionSuccess()
               : R(false) << "reference";
  }
  const auto* x = static_cast<const CPDFObject*>(a);
  const auto* y = static_cast<const CPDFObject*>(b);
  if (x->IsType(CPDFObject::kAnyNumber) && y->IsType(CPDFObject::kAnyNumber)) {
    const auto* m = static_cast<const CPDFNumber*>(x);
    const auto* n = static_cast<const CPDFNumber*>(y);
    if (m->GetInt() == n->GetInt() && m->GetReal() == n->GetReal()) return ::testing::AssertionSuccess();
    return R(false) << "number " << m->GetInt() << "/" << m->GetReal() << " vs " << n->GetInt() << "/" << n->GetReal();
  }
  if (x->IsType(CPDFObject::kString | CPDFObject::kText) && y->IsType(CPDFObject::kString)) {
    const auto* s = static_cast<const CPDFString*>(x);
    const auto* t = static_cast<const CPDFString*>(y);
    if (s->Compare(*t) != 0 || s->Length() != t->Length()) return R(false) << "string bytes";
    if (x->GetType() == CPDFObject::kString && s->IsLiteral() != t->IsLiteral()) return R(false) << "string form";
    return ::testing::AssertionSuccess();
  }
  if (x->GetType() != y->GetType()) return R(false) << "type " << x->GetTypeName() << " vs " << y->GetTypeName();
  switch (x->GetType()) {
    case CPDFObject::kBool:
      return static_cast<const CPDFBool*>(x)->GetValue() == static_cast<const CPDFBool*>(y)->GetValue()
                 ? ::testing::AssertionSuccess()
                 : R(false) << "bool";
    case CPDFObject::kName: {
      const auto* s = static_cast<const CPDFName*>(x);
      const auto* t = static_cast<const CPDFName*>(y);
      return s->Length() == t->Length() && *s == *t ? ::testing::AssertionSuccess() : R(false) << "name";
    }
    case CPDFObject::kArray: {
      const auto* s = static_cast<const CPDFArray*>(x);
      const auto* t = static_cast<const CPDFArray*>(y);
      if (s->Count() != t->Count()) return R(false) << "array count";
      for (int32_t i = 0; i < s->Count(); ++i) {
        auto r = SameValue(s->GetAt(i), t->GetAt(i));
        if (!r) return r;
      }
      return ::testing::AssertionSuccess();
    }
    case CPDFObject::kDict: {
      const auto* s = static_cast<const CPDFDict*>(x);
      const auto* t = static_cast<const CPDFDict*>(y);
      auto i = s->begin();
      auto j = t->begin();
      for (; i != s->end() && j != t->end(); ++i, ++j) {
        if (!(i->key == j->key)) return R(false) << "key";
        auto r = SameValue(i->value, j->value);
        if (!r) return r;
      }
      return i == s->end() && j == t->end() ? ::testing::AssertionSuccess() : R(false) << "dict size";
    }
    default:
      return ::testing::AssertionSuccess();  // null
  }
}

TEST(ObjectRoundTripTest, GeneratedValuesReadBackEqualAndRewriteIdentically) {
  test::ToyCipherFactory factory;
  const uint8_t docKey[5] = {9, 8, 7, 6, 5};
  ObjectKey key = ObjectKey::Make(docKey, 17, 0, &factory);
  for (const ObjectKey* k : {static_cast<const ObjectKey*>(nullptr), static_cast<const ObjectKey*>(&key)}) {
    ValueGenerator gen(2024);
    for (int round = 0; round < 400; ++round) {
      std::unique_ptr<CPDFAtom> value(gen.Any(4));
      std::string text = test::Written(value.get(), k);
      std::unique_ptr<CPDFAtom> back;
      if (value->IsReference()) {
        StrLoad in;
        ASSERT_TRUE(in.Open(text.data(), static_cast<int64_t>(text.size())));
        back = ReadRef(nullptr, in);
      } else {
        try {
          back = Parse(text + "\n", nullptr, k);  // a name needs a byte that ends it
        } catch (const CPDFException& e) {
          FAIL() << "round " << round << ": " << e.Module << " " << e.Factor << " reading " << text;
        }
      }
      ASSERT_TRUE(SameValue(value.get(), back.get())) << "round " << round << ": " << text;
      EXPECT_EQ(test::Written(back.get(), k), text) << "round " << round;
    }
  }

  // Every byte value in both string forms, and every byte but NUL in a name.
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  for (bool literal : {true, false}) {
    CPDFString s(all.data(), 256);
    s.SetLiteral(literal);
    auto back = Parse(Written(&s));
    EXPECT_TRUE(SameValue(&s, back.get()));
  }
  CPDFName name(all.data() + 1, 255);
  auto back = Parse(Written(&name) + " ");
  EXPECT_TRUE(SameValue(&name, back.get()));
}

}  // namespace
}  // namespace koyo
