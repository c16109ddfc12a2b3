// The information dictionary stamped by every save: Producer, the dates, and
// a new dictionary for documents that have none (or a broken one). Checked by
// reading the saved file again.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <regex>
#include <string>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/ObjectWriter.h"
#include "koyo/object/StrSave.h"
#include "koyo/structure/CPDFDate.h"
#include "tests/document/SaveFixture.h"

namespace koyo {
namespace {

using test::Describe;
using test::PdfBuilder;
using test::SampleDocument;
using test::ScratchDir;

std::string TextOf(const CPDFObject* obj) {
  if (!obj) return "<missing>";
  StrSave out;
  out.Open();
  WriteObject(out, obj, nullptr);
  return std::string(out.Data(), static_cast<size_t>(out.Length()));
}

// The local time as the date text of a saved file, with parentheses.
std::string DateNow() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char text[64];
  std::snprintf(text, sizeof text, "(D:%04d%02d%02d%02d%02d%02d)", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

// A saved date: the fixed-width form, within the time of the save.
void ExpectSaveTime(const std::string& date, const std::string& before, const std::string& after) {
  static const std::regex form(R"(\(D:\d{14}\))");
  EXPECT_TRUE(std::regex_match(date, form)) << date;
  EXPECT_LE(before, date);
  EXPECT_LE(date, after);
}

// A document whose trailer carries infoEntry (e.g. "/Info 4 0 R") and whose
// object 4, when infoObject is not empty, is that dictionary.
std::string DocumentWith(const std::string& infoEntry, const std::string& infoObject) {
  PdfBuilder pdf;
  pdf.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>");
  if (!infoObject.empty()) pdf.Object(4, 0, infoObject);
  pdf.Section("/Root 1 0 R " + infoEntry, 5);
  return pdf.Text();
}

struct InfoCase {
  const char* name;
  std::string file;
  // Expected after the save: "now" for the save time, "none" for absent.
  const char* creation;
  const char* modification;
  const char* creator;
  bool direct;  // Info stays a dictionary inside the trailer
};

TEST(SetDocInfo, DatesAndProducerAfterASave) {
  const InfoCase cases[] = {
      {"both dates", SampleDocument(), "(D:19990101000000)", "now", "none", false},
      {"modification date only", SampleDocument("/ModDate (D:19990102000000) /Creator (Tool)"), "now",
       "(D:19990102000000)", "(Tool)", false},
      {"other producer", SampleDocument("/Producer (Someone else) /Creator (Tool)"), "now", "none", "(Tool)", false},
      {"no Info", SampleDocument(""), "now", "none", "none", false},
      {"Info not a dictionary", DocumentWith("/Info 4 0 R", "42"), "now", "none", "none", false},
      {"direct Info", DocumentWith("/Info << /Title (T) /CreationDate (D:2001) >>", ""), "(D:2001)", "now", "none",
       true},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir.Write("info.pdf", c.file);
    std::string before = DateNow();
    {
      CPDFDoc doc;
      ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
      ASSERT_TRUE(doc.Save(path.c_str(), true, false)) << Describe(doc.GetError());
      ASSERT_TRUE(doc.Flush()) << Describe(doc.GetError());
      EXPECT_TRUE(doc.GetError().IsEmpty()) << Describe(doc.GetError());
    }
    std::string after = DateNow();

    CPDFDoc saved;
    ASSERT_TRUE(saved.Open(nullptr, path.c_str(), nullptr)) << Describe(saved.GetError());
    CPDFDict& trailer = saved.GetTrailer()->GetDict();
    auto entry = trailer.FindKey("Info");
    ASSERT_NE(entry, trailer.end());
    EXPECT_EQ(entry->value->IsReference(), !c.direct);
    if (!c.direct) {
      // Never the object that was not a dictionary.
      const auto* ref = static_cast<const CPDFObjRef*>(entry->value);
      EXPECT_TRUE(std::string(c.name) != "Info not a dictionary" || ref->GetObjNum() != 4);
    }
    auto* info = dynamic_cast<CPDFDict*>(saved.GetTrailer()->Get_Info());
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(TextOf(info->GetValue(&saved, "Producer")), "(libkoyo)");
    auto check = [&](const char* key, const char* expected) {
      SCOPED_TRACE(key);
      std::string value = info->HasKey(key) ? TextOf(info->GetValue(&saved, key)) : "none";
      if (std::string(expected) == "now") {
        ExpectSaveTime(value, before, after);
      } else {
        EXPECT_EQ(value, expected);
      }
    };
    check("CreationDate", c.creation);
    check("ModDate", c.modification);
    check("Creator", c.creator);
  }
}

TEST(SetDocInfo, DateFieldsCarryLeadingZeros) {
  CPDFDate date;
  std::tm t{};
  t.tm_year = 2001 - 1900;
  t.tm_mon = 1;
  t.tm_mday = 3;
  t.tm_hour = 7;
  t.tm_min = 5;
  t.tm_sec = 9;
  ASSERT_TRUE(date.SetTime(t));
  EXPECT_EQ(std::string(date.c_str(), static_cast<size_t>(date.Length())), "D:20010203070509");
}

TEST(SetDocInfo, NewInformationDictionaryTakesAFreeNumber) {
  // The sample's object 6 is free with generation 1: the new dictionary
  // takes that number and generation.
  ScratchDir dir;
  std::string path = dir.Write("a.pdf", SampleDocument(""));
  CPDFDoc doc;
  ASSERT_TRUE(doc.Open(nullptr, path.c_str(), nullptr)) << Describe(doc.GetError());
  ASSERT_TRUE(doc.SetDocInfo()) << Describe(doc.GetError());
  CPDFObjRef ref;
  ASSERT_NE(doc.GetTrailer()->Get_Info(&ref), nullptr);
  EXPECT_EQ(ref.GetObjNum(), 6);
  EXPECT_EQ(ref.GetGenNum(), 1);
  const XRefEntry* entry = doc.GetXRef()->GetEntry(6);
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->inUse);
}

}  // namespace
}  // namespace koyo
