#include "koyo/object/CPDFException.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "koyo/object/Boundary.h"

namespace koyo {
namespace {

TEST(CPDFException, CategoryNames) {
  const char* names[] = {"", "Runtime Library Error", "System Error", "User Error", "Invalid Format",
                         "Internal Error", "", ""};
  for (int t = 0; t < 8; ++t) EXPECT_STREQ(CPDFException::TypeName(t), names[t]) << t;
  EXPECT_STREQ(CPDFException::TypeName(-1), "");
}

TEST(CPDFException, NullFactorTakesTheErrorTextForTypesOneAndTwo) {
  std::string expect = std::strerror(ENOENT);
  errno = ENOENT;
  CPDFException rt("FileLoad", "Open", 1, nullptr);
  EXPECT_EQ(rt.Factor, expect);
  errno = ENOENT;
  CPDFException sys("FileMap", "Open", 2, nullptr);
  EXPECT_EQ(sys.Factor, expect);
  errno = ENOENT;
  CPDFException user("CPDFDoc", "Save", 3, nullptr);
  EXPECT_EQ(user.Factor, "");
  errno = 0;
  CPDFException none("FileLoad", "Open", 1, nullptr);
  EXPECT_EQ(none.Factor, "");
  CPDFException given("CPDFDoc", "Open", 5, "CPDFDoc::Serialize()");
  EXPECT_EQ(given.Module, "CPDFDoc");
  EXPECT_EQ(given.Method, "Open");
  EXPECT_EQ(given.Type, 5);
  EXPECT_EQ(given.Factor, "CPDFDoc::Serialize()");
}

TEST(CPDFException, ClearKeepsTheTexts) {
  CPDFException e("CPDFXRef", "Serialize", 4, "ioerror");
  CPDFException copy = e;
  copy.Clear();
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_EQ(copy.Module, "CPDFXRef");
  EXPECT_EQ(copy.Factor, "ioerror");
  EXPECT_FALSE(e.IsEmpty());
}

TEST(CPDFException, FormattedFactorIsCutNotOverrun) {
  std::string longText(5000, 'q');
  try {
    ThrowPDFFormat("CPDFParser", "Parse", 4, "invalidtoken: %s", longText.c_str());
    FAIL() << "no exception";
  } catch (const CPDFException& e) {
    EXPECT_EQ(e.Type, 4);
    EXPECT_EQ(e.Factor.size(), kFactorFormatSize - 1);
    EXPECT_EQ(e.Factor.substr(0, 15), "invalidtoken: q");
  }
}

// An outer operation that calls an inner public operation, as a document does.
struct FakeDoc {
  CPDFException record;
  bool Serialize(bool fail) {
    return Boundary(record, "CPDFXRef", "Serialize", [&] {
      if (fail) ThrowPDFFormat("CPDFXRef", "Serialize", 4, "invalidtoken: %s", "xref?");
    });
  }
  bool Open(bool failInner) {
    return Boundary(record, "CPDFDoc", "Open", [&] {
      if (!Serialize(failInner)) ThrowPDF("CPDFDoc", "Open", 5, "CPDFDoc::Serialize()");
      ThrowPDF("CPDFDoc", "Open", 3, "outer failure");
    });
  }
};

TEST(Boundary, KeepsTheInnermostFailure) {
  FakeDoc doc;
  EXPECT_FALSE(doc.Open(true));
  EXPECT_EQ(doc.record.Module, "CPDFXRef");
  EXPECT_EQ(doc.record.Method, "Serialize");
  EXPECT_EQ(doc.record.Type, 4);
  EXPECT_EQ(doc.record.Factor, "invalidtoken: xref?");
  // When the inner step succeeds, the outer failure is the one recorded.
  EXPECT_FALSE(doc.Open(false));
  EXPECT_EQ(doc.record.Module, "CPDFDoc");
  EXPECT_EQ(doc.record.Type, 3);
  EXPECT_EQ(doc.record.Factor, "outer failure");
}

TEST(Boundary, OtherExceptionsBecomeInternalErrorsWithEmptyFactor) {
  CPDFException record;
  EXPECT_FALSE(Boundary(record, "CPDFDoc", "Save", [] { throw std::runtime_error("boom"); }));
  EXPECT_EQ(record.Module, "CPDFDoc");
  EXPECT_EQ(record.Method, "Save");
  EXPECT_EQ(record.Type, 5);
  EXPECT_EQ(record.Factor, "");
  EXPECT_FALSE(Boundary(record, "CPDFDoc", "Flush", [] { throw std::bad_alloc(); }));
  EXPECT_EQ(record.Method, "Flush");
  EXPECT_EQ(record.Type, 5);
  EXPECT_FALSE(Boundary(record, "CPDFDoc", "Flush", [] { throw 42; }));
  EXPECT_EQ(record.Type, 5);
}

TEST(Boundary, ClearsOnEntryAndPassesResults) {
  CPDFException record("Old", "Old", 4, "old");
  EXPECT_TRUE(Boundary(record, "CPDFDoc", "GetPageCount", [] {}));
  EXPECT_TRUE(record.IsEmpty());
  EXPECT_FALSE(Boundary(record, "CPDFDoc", "GetPage", [] { return false; }));
  EXPECT_TRUE(record.IsEmpty());  // a plain false result records nothing by itself
  EXPECT_TRUE(Boundary(record, "CPDFDoc", "GetPage", [] { return 1; }));

  int* p = BoundaryValue<int*>(record, "CPDFDoc", "GetObj", nullptr, []() -> int* {
    ThrowPDF("CPDFDoc", "GetObj", 3, "Object reference is not defined.");
  });
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(record.Factor, "Object reference is not defined.");
  EXPECT_EQ(BoundaryValue<long>(record, "CPDFFont", "GetWidth", -1L, [] { return 500L; }), 500L);
  EXPECT_TRUE(record.IsEmpty());
}

}  // namespace
}  // namespace koyo
