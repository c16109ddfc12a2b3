// Test helpers for the font code: a document with an error record and font
// services over the fixture fonts (fontconfig sees only them), the library's
// resource cache, and AFM metrics a test adds by name.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "koyo/font/FontServices.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/resource/ResourceCache.h"
#include "koyo/sysfont/SystemFontCatalog.h"
#include "tests/object/SyntaxTestUtil.h"
#include "tests/structure/StructFixture.h"

namespace koyo::test {

class TestFontServices : public FontServices {
public:
  TrueTypeInfo* GetTrueTypeInfo(const char* name) override { return catalog.GetTrueTypeInfo(name); }
  CMapFile* GetCMap(const char* name) override { return name ? cache.GetCMap(name) : nullptr; }
  EncodingTable* GetEncodingTable(const char* name) override { return name ? cache.GetEncodingTable(name) : nullptr; }
  AFMFile* GetAFM(const char* name) override {
    if (!name) return nullptr;
    auto it = afms.find(name);
    return it != afms.end() ? it->second.get() : cache.GetAFM(name);
  }
  platform::Lock& GetLock() override { return lock; }

  // Metrics served under name before the cache is asked.
  void AddAFM(const std::string& name, const std::string& text) {
    auto afm = std::make_unique<AFMFile>();
    ASSERT_TRUE(afm->LoadData(text.data(), text.size())) << text;
    afms[name] = std::move(afm);
  }

  SystemFontCatalog catalog;
  ResourceCache cache;
  platform::Lock lock;
  std::map<std::string, std::unique_ptr<AFMFile>> afms;
};

class FontDoc : public FakeDoc {
public:
  void ClearError() override {
    FakeDoc::ClearError();
    error.Clear();
  }
  CPDFException* ErrorRecord() override { return &error; }
  FontServices* Fonts() const override { return services; }

  CPDFException error;
  FontServices* services = nullptr;
};

class FontTest : public ::testing::Test {
protected:
  FontTest() { doc.services = &services; }

  // An object of the document written as PDF text.
  std::string WrittenObj(const CPDFObjRef& ref) { return Written(doc.Get(ref)); }
  // The reference under key of dict (invalid when the entry is direct or absent).
  CPDFObjRef RefOf(const CPDFDict& dict, const char* key) {
    CPDFObjRef ref;
    dict.GetValue(&doc, key, &ref);
    return ref;
  }
  // Reads PDF text as a value of the document.
  CPDFObject* ParseValue(const std::string& text) {
    parsed.push_back(Parse(text, &doc));
    return parsed.back().get();
  }
  // Registers PDF text as a read indirect object and returns its reference.
  CPDFObjRef AddParsed(const std::string& text) { return doc.Add(Parse(text, &doc).release()); }
  // Registers a read stream with the dictionary of PDF text dictText and data.
  CPDFObjRef AddStream(const std::string& dictText, const std::string& data) {
    std::unique_ptr<CPDFObject> dict = Parse(dictText, &doc);
    auto* stream = new CPDFStream(&doc);
    EXPECT_TRUE(stream->CPDFDict::Adopt(&doc, dict.get()));
    stream->SetData(data.data(), static_cast<int64_t>(data.size()));
    stream->SetDefined(true);
    return doc.Add(stream);
  }

  TestFontServices services;
  FontDoc doc;
  std::vector<std::unique_ptr<CPDFObject>> parsed;
};

}  // namespace koyo::test
