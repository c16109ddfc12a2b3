// The written forms of the header, cross-reference sections and trailers,
// byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "koyo/document/CPDFHeader.h"
#include "koyo/document/CPDFTrailer.h"
#include "koyo/document/CPDFXRef.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/StrSave.h"

namespace koyo {
namespace {

template <class Part>
std::string Written(const Part& part) {
  StrSave out;
  out.Open();
  part.Write(out);
  return std::string(out.Data(), static_cast<size_t>(out.Length()));
}

XRefEntry Entry(int32_t num, int32_t gen, int64_t offset, bool inUse) {
  XRefEntry e;
  e.objNum = num;
  e.genNum = gen;
  e.offset = offset;
  e.inUse = inUse ? 1 : 0;
  return e;
}

TEST(XRefWrite, RunsOfConsecutiveEntriesWithObjectZeroFirst) {
  CPDFXRef xref;
  ASSERT_TRUE(xref.Create(nullptr, nullptr));
  EXPECT_EQ(Written(xref), "xref\r\n0 1\r\n0000000000 65535 f\r\n");

  ASSERT_TRUE(xref.Resize(9));
  xref.SetFreeHead(3);
  ASSERT_TRUE(xref.SetEntry(Entry(1, 0, 17, true)));
  ASSERT_TRUE(xref.SetEntry(Entry(2, 0, 9999999999LL, true)));
  ASSERT_TRUE(xref.SetEntry(Entry(3, 2, 0, false)));
  ASSERT_TRUE(xref.SetEntry(Entry(5, 7, 1234, true)));
  ASSERT_TRUE(xref.SetEntry(Entry(6, 65535, 5000000000LL, true)));
  ASSERT_TRUE(xref.SetEntry(Entry(9, 0, 42, true)));
  EXPECT_EQ(Written(xref),
            "xref\r\n"
            "0 4\r\n"
            "0000000003 65535 f\r\n"
            "0000000017 00000 n\r\n"
            "9999999999 00000 n\r\n"
            "0000000000 00002 f\r\n"
            "5 2\r\n"
            "0000001234 00007 n\r\n"
            "5000000000 65535 n\r\n"
            "9 1\r\n"
            "0000000042 00000 n\r\n");
}

TEST(XRefWrite, EntriesWiderThanTheirFieldsAreRefused) {
  struct Case {
    const char* name;
    XRefEntry entry;
  };
  const Case cases[] = {
      {"offset of eleven digits", Entry(1, 0, 10000000000LL, true)},
      {"negative offset", Entry(1, 0, -1, true)},
      {"generation of six digits", Entry(1, 100000, 0, false)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CPDFXRef xref;
    ASSERT_TRUE(xref.Create(nullptr, nullptr));
    ASSERT_TRUE(xref.Resize(1));
    ASSERT_TRUE(xref.SetEntry(c.entry));
    try {
      Written(xref);
      ADD_FAILURE() << "written without complaint";
    } catch (const CPDFException& e) {
      EXPECT_EQ(e.Module, "CPDFXRef");
      EXPECT_EQ(e.Type, CPDFException::kUser);
    }
  }
}

TEST(TrailerWrite, DictionaryStartXRefAndEndMarker) {
  CPDFTrailer trailer;
  ASSERT_TRUE(trailer.Create(nullptr, nullptr));
  ASSERT_TRUE(trailer.Set_Size(8));
  ASSERT_TRUE(trailer.Set_Prev(1234));
  trailer.SetStartXRef(5678);
  EXPECT_EQ(Written(trailer), "trailer\r\n<<\r\n/Prev 1234\r\n/Size 8\r\n>>\r\nstartxref\r\n5678\r\n%%EOF\r\n");

  // Offsets of files beyond 2 GiB keep every digit.
  ASSERT_TRUE(trailer.Set_Prev(3000000000LL));
  trailer.SetStartXRef(5000000000LL);
  EXPECT_EQ(Written(trailer),
            "trailer\r\n<<\r\n/Prev 3000000000\r\n/Size 8\r\n>>\r\nstartxref\r\n5000000000\r\n%%EOF\r\n");
}

TEST(HeaderWrite, VersionLineAndBinaryMark) {
  CPDFHeader header;
  header.Set(false, 1, 4);
  EXPECT_EQ(Written(header), "%PDF-1.4\r\n%\xE2\xE3\xCF\xD3\r\n");
  header.Set(true, 1, 2);
  EXPECT_EQ(Written(header), "%FDF-1.2\r\n%\xE2\xE3\xCF\xD3\r\n");
}

}  // namespace
}  // namespace koyo
