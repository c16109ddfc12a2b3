#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "SyntaxTestUtil.h"
#include "TempFileFixture.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/object/FileLoad.h"

namespace koyo {
namespace {

using test::FileDoc;
using test::Parse;
using test::ParseFailure;
using test::Written;

std::string Data(const CPDFStream& s) {
  const char* d = s.GetData();
  return d ? std::string(d, static_cast<size_t>(s.GetSize())) : std::string("<null>");
}

CPDFStream& AsStream(const std::unique_ptr<CPDFObject>& obj) {
  EXPECT_TRUE(obj && obj->GetType() == CPDFObject::kStream);
  return static_cast<CPDFStream&>(*obj);
}

TEST(CPDFStreamTest, BodyEndsAtEndstreamFollowedByEndobj) {
  struct Case {
    const char* text;
    const char* data;
  };
  const Case cases[] = {
      {"<</Length 7>>stream\r\nhello\r\nendstream\r\nendobj", "hello\r\n"},
      {"<</Length 3>>\nstream\nab endstream x\nendstream %c\n endobj", "ab endstream x\n"},
      {"<</Length 3>>stream\rabc\nendstream endobj", "abc\n"},
      {"<</Length 9>>stream\nendstream endstream\nendobj", "endstream "},
      {"<</Length 0>>stream\nendstream\nendobj", ""},
      {"<</Length 2>>stream\nxendstreamy endstream endobj", "xendstreamy "},
  };
  for (const Case& c : cases) {
    const std::string text = c.text;
    StrLoad in;
    ASSERT_TRUE(in.Open(text.data(), static_cast<int64_t>(text.size()), 5));
    auto obj = ReadObject(nullptr, in, nullptr);
    ASSERT_NE(obj, nullptr) << c.text;
    auto& s = AsStream(obj);
    EXPECT_FALSE(s.InFile());
    EXPECT_EQ(Data(s), c.data) << c.text;
    char token[StreamLoad::kTokenSize];
    ASSERT_NE(in.GetToken(token, sizeof token), nullptr);
    EXPECT_STREQ(token, "endobj") << c.text;  // left for the caller
  }
}

TEST(CPDFStreamTest, ReadingFailures) {
  struct Case {
    const char* text;
    int32_t type;
    const char* factor;
  };
  const int32_t kFormat = CPDFException::kInvalidFormat;
  const Case cases[] = {
      {"<</Length 3>>stream abc\nendstream endobj", kFormat, "invalidtoken:  "},
      {"<</Length 3>>streamx\nabc\nendstream endobj", kFormat, "invalidtoken: streamx"},
      {"<</Length 3>>stream\r", kFormat, "ioerror"},
      {"<</Length 3>>stream\nabc\nendstream", kFormat, "ioerror"},
      {"<</Length 3>>stream\nabc\nendstream x", kFormat, "ioerror"},
      {"<</Length 3>>stream\nabc", kFormat, "ioerror"},
      // The Length entry must be there; a reference cannot be resolved without a document.
      {"<</L 3>>stream\nabc\nendstream endobj", CPDFException::kInternal, ""},
      {"<</Length 8 0 R>>stream\nabc\nendstream endobj", CPDFException::kInternal, ""},
  };
  for (const Case& c : cases) {
    CPDFException e = ParseFailure(c.text);
    EXPECT_EQ(e.Module, "CPDFStream") << c.text;
    EXPECT_EQ(e.Method, "Serialize") << c.text;
    EXPECT_EQ(e.Type, c.type) << c.text;
    EXPECT_EQ(e.Factor, c.factor) << c.text;
  }
}

TEST(CPDFStreamTest, LengthIsNormalizedButNotCorrected) {
  // A wrong Length: the body is read whole and Length stays until the data changes.
  auto obj = Parse("<</Length 2>>stream\n0123456789endstream\nendobj");
  auto& s = AsStream(obj);
  EXPECT_EQ(Data(s), "0123456789");
  CPDFObject* length = s.Get_Length();
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length->GetType(), CPDFObject::kInt);  // the number read became an integer
  EXPECT_EQ(static_cast<CPDFNumber*>(length)->GetInt(), 2);
  s.Append("ab", 2);
  EXPECT_EQ(static_cast<CPDFNumber*>(s.Get_Length())->GetInt(), 12);
  EXPECT_EQ(Data(s), "0123456789ab");
  s.Insert(0, "<", 1);
  s.Insert(-1, ">", 1);
  EXPECT_EQ(Data(s), "<0123456789ab>");
  EXPECT_EQ(static_cast<CPDFNumber*>(s.Get_Length())->GetInt(), 14);
  s.SetData(3, 'z');
  EXPECT_EQ(Data(s), "zzz");
  EXPECT_EQ(static_cast<CPDFNumber*>(s.Get_Length())->GetInt(), 3);

  // An indirect Length: replaced in the document, and told of each change.
  FileDoc doc;
  auto* twenty = new CPDFNumber(int32_t{20});
  twenty->SetDefined(true);
  doc.objects[{7, 0}].reset(twenty);
  obj = Parse("<</Length 7 0 R>>stream\n01234567890123456789endstream\nendobj", &doc);
  auto& indirect = AsStream(obj);
  ASSERT_EQ(doc.Get(CPDFObjRef(7, 0))->GetType(), CPDFObject::kInt);
  indirect.Append("0123456789", 10);
  ASSERT_EQ(doc.updated.size(), 1u);
  EXPECT_EQ(doc.updated[0], CPDFObjRef(7, 0));
  EXPECT_EQ(static_cast<CPDFNumber*>(doc.Get(CPDFObjRef(7, 0)))->GetInt(), 30);
  EXPECT_EQ(indirect.GetSize(), 30);
  // A refused update leaves the data as it was.
  doc.refuseUpdate = true;
  indirect.Append("x", 1);
  EXPECT_EQ(indirect.GetSize(), 30);

  // While the document is being flushed the entries stay as read.
  doc.flushing = true;
  obj = Parse("<</Length 3>>stream\nabcendstream\nendobj", &doc);
  EXPECT_EQ(AsStream(obj).Get_Length()->GetType(), CPDFObject::kNumber);
}

TEST(CPDFStreamTest, WritingAddsLineEndOnlyWhenNeeded) {
  CPDFStream s;
  EXPECT_EQ(Written(&s), "<<\r\n>>\r\nstream\r\nendstream");
  s.SetData("line\n", 5);
  EXPECT_EQ(Written(&s), "<<\r\n/Length 5\r\n>>\r\nstream\r\nline\nendstream");
  s.SetData("ends\r", 5);
  EXPECT_EQ(Written(&s), "<<\r\n/Length 5\r\n>>\r\nstream\r\nends\rendstream");
  s.SetData("ab", 2);
  EXPECT_EQ(Written(&s), "<<\r\n/Length 2\r\n>>\r\nstream\r\nab\r\nendstream");

  // Encrypted in a copy; reading back with the key gives the bytes again, in
  // blocks that continue the cipher's state.
  test::ToyCipherFactory factory;
  const uint8_t docKey[5] = {5, 4, 3, 2, 1};
  ObjectKey key = ObjectKey::Make(docKey, 3, 0, &factory);
  std::string big(10000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  s.SetData(big.data(), static_cast<int64_t>(big.size()));
  std::string text = Written(&s, &key);
  EXPECT_EQ(text.find(big.substr(0, 64)), std::string::npos);
  EXPECT_TRUE(Data(s) == big);
  // The body read back also holds the line end written before "endstream" (it
  // decrypts to two more bytes); Length still gives the size.
  auto back = Parse(text + "\nendobj", nullptr, &key);
  std::string got = Data(AsStream(back));
  ASSERT_EQ(got.size(), big.size() + 2);
  EXPECT_TRUE(got.compare(0, big.size(), big) == 0);
  EXPECT_EQ(static_cast<CPDFNumber*>(AsStream(back).Get_Length())->GetInt(), 10000);
}

class StreamFileTest : public ::testing::Test {
protected:
  // An indirect object in a file, read through a file input as a document does.
  std::unique_ptr<CPDFObject> ReadFromFile(const std::string& body, int64_t* at = nullptr) {
    const std::string head = "%PDF-1.3\n1 0 obj\n";
    doc_.path = dir_.Write("doc.pdf", head + body + "\nendobj\n");
    FileLoad in;
    EXPECT_TRUE(in.Open(doc_.path.c_str()));
    EXPECT_EQ(in.Seek(static_cast<int64_t>(head.size())), 0);
    auto obj = ReadObject(&doc_, in, nullptr);
    if (at) *at = static_cast<int64_t>(head.size());
    return obj;
  }
  test::ScratchDir dir_;
  FileDoc doc_;
};

TEST_F(StreamFileTest, DataStaysInTheFileUntilAskedFor) {
  int64_t at = 0;
  auto obj = ReadFromFile("<</Length 6>>stream\r\npayload\r\nendstream", &at);
  auto& s = AsStream(obj);
  ASSERT_TRUE(s.InFile());
  EXPECT_EQ(s.GetFileOffset(), at + 21);
  EXPECT_EQ(s.GetFileLength(), 9);
  EXPECT_EQ(s.Holder().Length(), 0);
  // Written unchanged from the file, with no line end added.
  EXPECT_EQ(Written(&s), "<<\r\n/Length 6\r\n>>\r\nstream\r\npayload\r\nendstream");
  EXPECT_TRUE(s.InFile());
  // A copy within the same document shares the window.
  std::unique_ptr<CPDFObject> same(s.Duplicate(&doc_, &doc_));
  ASSERT_NE(same, nullptr);
  EXPECT_TRUE(static_cast<CPDFStream&>(*same).InFile());
  EXPECT_EQ(Data(s), "payload\r\n");
  EXPECT_FALSE(s.InFile());
  EXPECT_EQ(Data(static_cast<CPDFStream&>(*same)), "payload\r\n");
}

// A stream read from a file may take the end its Length points at without
// searching the body; the body must still end at the first "endstream" that
// is followed by "endobj", exactly as a search through memory finds it.
TEST_F(StreamFileTest, LengthPointingAtAnEndGivesTheBodyASearchGives) {
  struct Case {
    std::string length;  // the Length entry as written
    std::string body;    // from after "stream\n" up to the end of the object
  };
  const std::string hidden = "ab endstream\nendobj\ncd";  // 22 bytes with an end inside
  const Case cases[] = {
      {"5", "hello\nendstream\nendobj"},                          // one LF before the end
      {"6", "hello\nendstream\nendobj"},                          // line end counted
      {"5", "hello\r\nendstream\nendobj"},                        // CR LF after the bytes
      {"5", "helloendstream endobj"},                              // no line end at all
      {"0", "endstream\nendobj"},                                 // empty body
      {"22", hidden + "\nendstream\nendobj"},                     // an earlier end wins
      {"21", hidden + "\nendstream\nendobj"},                     // Length too short
      {"40", hidden + "\nendstream\nendobj"},                     // Length too long
      {"999999", "abc\nendstream\nendobj"},                        // beyond the file
      {"-3", "abc\nendstream\nendobj"},                            // negative
      {"3", "abc\nendstreamx endobj\nendstream\nendobj"},          // not a whole token
      {"3", "abc\nendstream (no) endstream\nendobj"},              // no endobj after it
      {"3.9", "abc\nendstream\nendobj"},                           // a real: its integer part
      {"/Name", "abc\nendstream\nendobj"},                         // not a number
      {"9 0 R", "abcdefgh\nendstream\nendobj"},                    // indirect, loaded
      {"9 0 R", "abc endstream endobj x\nendstream\nendobj"},      // indirect, searched
  };
  const CPDFObjRef lengthRef(9, 0);
  for (const Case& c : cases) {
    const std::string text = "<</Length " + c.length + ">>stream\n" + c.body;
    SCOPED_TRACE(text);
    // The same object read from memory, where the whole body is searched.
    StrLoad mem;
    ASSERT_TRUE(mem.Open(text.data(), static_cast<int64_t>(text.size())));
    FileDoc memDoc;
    ASSERT_TRUE(memDoc.FakeObjectTable::RegistObj(new CPDFNumber(8), &lengthRef, nullptr));
    auto expected = ReadObject(&memDoc, mem, nullptr);
    ASSERT_NE(expected, nullptr);

    FileDoc doc;
    ASSERT_TRUE(doc.FakeObjectTable::RegistObj(new CPDFNumber(8), &lengthRef, nullptr));
    const std::string head = "%PDF-1.3\n1 0 obj\n";
    doc.path = dir_.Write("doc.pdf", head + text + "\n%%EOF\n");
    FileLoad in;
    ASSERT_TRUE(in.Open(doc.path.c_str(), "rb", 0, -1, 16));
    ASSERT_EQ(in.Seek(static_cast<int64_t>(head.size())), 0);
    auto obj = ReadObject(&doc, in, nullptr);
    ASSERT_NE(obj, nullptr);
    char token[StreamLoad::kTokenSize];
    ASSERT_NE(in.GetToken(token, sizeof token), nullptr);
    EXPECT_STREQ(token, "endobj");  // left for the caller either way
    auto& s = AsStream(obj);
    ASSERT_TRUE(s.InFile());
    const std::string want = Data(AsStream(expected));
    EXPECT_EQ(s.GetFileLength(), static_cast<int64_t>(want.size()));
    EXPECT_EQ(Data(s), want);
  }
}

TEST_F(StreamFileTest, StreamWhoseFileIsGoneHasNoDataAndCannotBeWritten) {
  auto obj = ReadFromFile("<</Length 6>>stream\npayload\nendstream");
  auto& s = AsStream(obj);
  ASSERT_TRUE(s.InFile());
  ASSERT_EQ(std::remove(doc_.path.c_str()), 0);
  // A copy into another document needs the bytes: it fails instead of losing them.
  EXPECT_EQ(s.Duplicate(nullptr, &doc_), nullptr);
  EXPECT_EQ(s.GetData(), nullptr);
  EXPECT_EQ(s.GetSize(), 0);
  EXPECT_TRUE(s.InFile());  // a later access tries again
  StrSave out;
  ASSERT_TRUE(out.Open());
  try {
    WriteObject(out, &s, nullptr);
    ADD_FAILURE() << "writing did not fail";
  } catch (const CPDFException& e) {
    EXPECT_EQ(e.Module, "CPDFStream");
    EXPECT_EQ(e.Type, CPDFException::kRuntimeLibrary);
  }
  // New data replaces the window without reading it.
  s.SetData("new", 3);
  EXPECT_FALSE(s.InFile());
  EXPECT_EQ(Data(s), "new");
}

TEST_F(StreamFileTest, WithoutADocumentFileTheBytesAreCopied) {
  test::ScratchDir dir;
  std::string path = dir.Write("x.pdf", "<</Length 3>>stream\nabc\nendstream endobj");
  FileLoad in;
  ASSERT_TRUE(in.Open(path.c_str()));
  auto obj = ReadObject(nullptr, in, nullptr);
  auto& s = AsStream(obj);
  EXPECT_FALSE(s.InFile());
  EXPECT_EQ(Data(s), "abc\n");
}

TEST(CPDFStreamTest, AdoptExchangesEverything) {
  CPDFStream a;
  a.SetData("aaa", 3);
  CPDFStream b;
  b.SetFileWindow(100, 5);
  FileDoc doc;
  ASSERT_TRUE(a.Adopt(&doc, &b));
  EXPECT_TRUE(a.InFile());
  EXPECT_EQ(a.GetFileOffset(), 100);
  EXPECT_EQ(a.GetDoc(), &doc);
  EXPECT_EQ(a.Get_Length(), nullptr);
  EXPECT_FALSE(b.InFile());
  EXPECT_EQ(Data(b), "aaa");
  EXPECT_NE(b.Get_Length(), nullptr);
  CPDFDict plain;
  EXPECT_FALSE(a.Adopt(&doc, &plain));
  a.Clear();
  EXPECT_FALSE(a.InFile());
  EXPECT_EQ(Data(a), "");
}

}  // namespace
}  // namespace koyo
