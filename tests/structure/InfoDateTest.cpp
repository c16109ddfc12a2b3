// The document information dictionary and dates.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "StructFixture.h"
#include "koyo/object/CPDFText.h"
#include "koyo/structure/CPDFDate.h"
#include "koyo/structure/CPDFInfoDict.h"

namespace koyo::test {
namespace {

TEST(Date, FormatHasLeadingZeros) {
  std::tm time{};
  time.tm_year = 2001 - 1900;
  time.tm_mon = 1;  // February
  time.tm_mday = 3;
  time.tm_hour = 7;
  time.tm_min = 5;
  time.tm_sec = 9;
  CPDFDate date;
  ASSERT_TRUE(date.SetTime(time));
  EXPECT_STREQ(date.c_str(), "D:20010203070509");
  EXPECT_EQ(date.Length(), 16);
}

TEST(Date, NowIsADateOfFourteenDigits) {
  CPDFDate date;
  ASSERT_TRUE(date.SetNow());
  ASSERT_EQ(date.Length(), 16);
  EXPECT_EQ(std::strncmp(date.c_str(), "D:", 2), 0);
  for (int i = 2; i < 16; ++i) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(date.c_str()[i]))) << i;
  EXPECT_TRUE(CPDFDate::Verify(nullptr, &date));
}

TEST(InfoDict, RealizesDatesAndTexts) {
  struct Case {
    const char* text;
    bool date;
  };
  const Case cases[] = {
      {"D:2001", true}, {"D:", true}, {"2001", false}, {"D", false}, {"", false}, {"d:2001", false},
  };
  for (const Case& c : cases) {
    FakeDoc doc;
    auto* read = Dict({{"CreationDate", Str(c.text)}, {"ModDate", Num(5)}});
    CPDFInfoDict info;
    ASSERT_TRUE(info.Realize(&doc, read)) << c.text;
    delete read;
    CPDFObject* value = info.GetValue(&doc, "CreationDate");
    ASSERT_NE(value, nullptr) << c.text;
    EXPECT_EQ(dynamic_cast<CPDFDate*>(value) != nullptr, c.date) << c.text;
    EXPECT_EQ(info.Get_CreationDate() != nullptr, c.date) << c.text;
    EXPECT_STREQ(static_cast<CPDFString*>(value)->c_str(), c.text);
    EXPECT_EQ(info.Get_ModDate(), nullptr);  // not a string: left alone
    EXPECT_NE(info.GetValue(&doc, "ModDate"), nullptr);
  }
}

TEST(InfoDict, TextStringsAreTypedAndKeepTheirReferences) {
  FakeDoc doc;
  auto* hex = Str("Hex");
  hex->SetLiteral(false);
  CPDFObjRef title = doc.Add(Str("Indirect title"));
  CPDFObjRef date = doc.Add(Str("D:20200101"));
  auto* read = Dict({{"Author", hex},
                     {"Title", Ref(title)},
                     {"ModDate", Ref(date)},
                     {"Producer", Str("someone")},
                     {"Custom", Str("kept")}});
  CPDFInfoDict info;
  ASSERT_TRUE(info.Realize(&doc, read));
  delete read;

  CPDFText* author = info.Get_Author();
  ASSERT_NE(author, nullptr);
  EXPECT_EQ(author->GetType(), CPDFObject::kText);
  EXPECT_STREQ(author->c_str(), "Hex");
  EXPECT_FALSE(author->IsLiteral());
  CPDFObjRef ref;
  CPDFText* typedTitle = info.Get_Title(&ref);
  ASSERT_NE(typedTitle, nullptr);
  EXPECT_EQ(ref, title);
  EXPECT_EQ(doc.Get(title), typedTitle);
  EXPECT_EQ(doc.As<CPDFDate>(date), info.Get_ModDate());
  EXPECT_NE(info.Get_Producer(), nullptr);
  EXPECT_EQ(dynamic_cast<CPDFText*>(info.GetValue(&doc, "Custom")), nullptr);
  EXPECT_EQ(info.Get_Subject(), nullptr);
}

TEST(InfoDict, DeadEntryFails) {
  FakeDoc doc;
  auto* read = Dict({{"Title", Ref(CPDFObjRef(404, 0))}, {"Author", Str("a")}});
  CPDFInfoDict info;
  EXPECT_FALSE(info.Realize(&doc, read));
  EXPECT_EQ(read->Count(), 2);
  delete read;
}

TEST(InfoDict, StampingAsTheDocumentDoes) {
  FakeDoc doc;
  auto* info = new CPDFInfoDict;
  ASSERT_TRUE(info->Create(&doc));
  CPDFDict trailer;
  CPDFObjRef ref;
  ASSERT_TRUE(trailer.SetValue(&doc, "Info", info, true, &ref));
  auto* date = new CPDFDate;
  ASSERT_TRUE(info->Set_CreationDate(date));
  ASSERT_TRUE(date->SetNow());
  ASSERT_TRUE(info->Set_Producer(new CPDFText("libkoyo")));
  EXPECT_EQ(info->Get_CreationDate(), date);
  EXPECT_STREQ(info->Get_Producer()->c_str(), "libkoyo");
  EXPECT_EQ(doc.Get(ref), info);
}

}  // namespace
}  // namespace koyo::test
