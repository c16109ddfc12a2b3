// Pages and their resources: realization, inheritance through the tree,
// Uninherit, and the resource dictionary's lookup, insertion, unique names
// and procedure sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StructFixture.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFReal.h"
#include "koyo/structure/CPDFDate.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFPages.h"
#include "koyo/structure/CPDFProcSet.h"
#include "koyo/structure/CPDFRect.h"
#include "koyo/structure/CPDFResDict.h"

namespace koyo::test {
namespace {

// Makers that count their calls; the font maker takes Type1 dictionaries.
struct MakerLog {
  int fontCalls = 0;
  int32_t fontMask = 0;
  int extGStateCalls = 0;
};
MakerLog makerLog;

CPDFResource* MakeFakeFont(ObjectTable* doc, CPDFObject* value, int32_t mask) {
  ++makerLog.fontCalls;
  makerLog.fontMask = mask;
  if (!FakeFont::Verify(doc, value)) return nullptr;
  auto* font = new FakeFont;
  if (font->Realize(doc, value)) return font;
  delete font;
  return nullptr;
}
CPDFResource* CountExtGState(ObjectTable*, CPDFObject*, int32_t) {
  ++makerLog.extGStateCalls;
  return nullptr;
}

CPDFObject* PartOf(CPDFResource* resource) { return resource ? resource->ValuePart() : nullptr; }

class PageResources : public ::testing::Test {
protected:
  void SetUp() override {
    makerLog = MakerLog();
    makers.Font = MakeFakeFont;
    makers.ExtGState = CountExtGState;
    doc.makers = &makers;
  }
  // A root node holding rootEntries, one page below it with pageEntries; the
  // root realized, the page reached through GetPage.
  CPDFPage* Tree(std::initializer_list<Entry> rootEntries, std::initializer_list<Entry> pageEntries) {
    root = doc.Reserve();
    auto* page = Dict(pageEntries);
    page->Insert("Type", Name("Page"));
    page->Insert("Parent", Ref(root));
    pageRef = doc.Add(page);
    auto* node = Dict(rootEntries);
    node->Insert("Type", Name("Pages"));
    node->Insert("Kids", Array({Ref(pageRef)}));
    node->Insert("Count", Num(1));
    doc.Put(root, node);
    CPDFDict holder;
    holder.Insert("Pages", Ref(root));
    EXPECT_TRUE(RealizeKey(&doc, holder, "Pages", CPDFObject::kDict, MakeAs<CPDFPages>));
    auto* tree = doc.As<CPDFPages>(root);
    return tree ? tree->GetPage(0) : nullptr;
  }

  FakeDoc doc;
  ResourceMakers makers;
  CPDFObjRef root, pageRef;
};

TEST_F(PageResources, InheritedResourcesComeWithTheNodesReference) {
  CPDFObjRef resources = doc.Add(Dict({{"Font", Dict({{"F1", Dict({{"Subtype", Name("Type1")}})}})}}));
  CPDFPage* page = Tree({{"Resources", Ref(resources)}, {"MediaBox", Box(612, 792)}}, {});
  ASSERT_NE(page, nullptr);

  CPDFObjRef ref;
  CPDFResDict* found = page->Get_Resources(&ref);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(ref, resources);
  EXPECT_EQ(found, doc.Get(resources));
  // The node's resources were realized with it: their font is typed.
  EXPECT_NE(dynamic_cast<FakeFont*>(found->Get_Font()->GetValue(&doc, "F1")), nullptr);
  CPDFRect* box = page->Get_MediaBox(&ref);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(ref.IsValid());  // direct in the node
  EXPECT_EQ(box->Height(), 792.0f);
}

TEST_F(PageResources, OwnEntriesComeBeforeInheritedOnes) {
  CPDFPage* page = Tree({{"MediaBox", Box(612, 792)}}, {{"MediaBox", Box(100, 200)}});
  ASSERT_NE(page, nullptr);
  ASSERT_NE(page->Get_MediaBox(), nullptr);
  EXPECT_EQ(page->Get_MediaBox()->Width(), 100.0f);
  EXPECT_EQ(page->Get_Resources(), nullptr);
}

TEST_F(PageResources, NoMediaBoxAnywhere) {
  CPDFPage* page = Tree({}, {{"Resources", Dict({})}});
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Get_MediaBox(), nullptr);
  EXPECT_EQ(page->GetInherited("MediaBox"), nullptr);
  EXPECT_FALSE(page->Uninherit());
}

TEST_F(PageResources, UninheritCopiesAnIndirectResourcesUnderANewNumber) {
  CPDFObjRef resources = doc.Add(Dict({{"ProcSet", Array({Name("PDF")})}}));
  CPDFPage* page = Tree({{"Resources", Ref(resources)}, {"MediaBox", Box(612, 792)}}, {});
  ASSERT_NE(page, nullptr);
  CPDFObject* nodeResources = doc.Get(resources);

  ASSERT_TRUE(page->Uninherit());
  CPDFObjRef copyRef;
  CPDFResDict* own = page->Get_Resources(&copyRef);
  ASSERT_NE(own, nullptr);
  EXPECT_TRUE(copyRef.IsValid());
  EXPECT_NE(copyRef, resources);
  EXPECT_NE(own, nodeResources);
  EXPECT_EQ(own->GetDoc(), &doc);
  // The node still refers to its own, unchanged object.
  EXPECT_EQ(doc.Get(resources), nodeResources);
  CPDFObjRef nodeRef;
  doc.As<CPDFPages>(root)->GetValue(&doc, "Resources", &nodeRef);
  EXPECT_EQ(nodeRef, resources);
  // The direct MediaBox became a direct copy of the page's own.
  CPDFObjRef boxRef;
  CPDFRect* box = page->Get_MediaBox(&boxRef);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(boxRef.IsValid());
  EXPECT_TRUE(page->HasKey("MediaBox"));
  EXPECT_EQ(box->Width(), 612.0f);
}

TEST_F(PageResources, ParentChainThatLoopsEnds) {
  // The page's Parent leads to a node whose Parent leads back to itself.
  CPDFObjRef a = doc.Reserve();
  doc.Put(a, Dict({{"Type", Name("Pages")}, {"Parent", Ref(a)}, {"Kids", Array({})}, {"Count", Num(0)}}));
  CPDFObjRef p = doc.Add(Dict({{"Type", Name("Page")}, {"Parent", Ref(a)}}));
  CPDFPage page;
  ASSERT_TRUE(page.Realize(&doc, doc.Get(p)));
  EXPECT_EQ(page.GetInherited("MediaBox"), nullptr);
  EXPECT_EQ(page.Get_Resources(), nullptr);
  EXPECT_FALSE(page.Uninherit());
}

TEST_F(PageResources, PageCheck) {
  CPDFObjRef parent = doc.Add(Dict({}));
  struct Case {
    const char* what;
    CPDFDict* value;
    bool accepted;
  };
  const Case cases[] = {
      {"page", Dict({{"Type", Name("Page")}, {"Parent", Ref(parent)}}), true},
      {"template without Parent", Dict({{"Type", Name("Template")}}), true},
      {"page without Parent", Dict({{"Type", Name("Page")}}), false},
      {"page with a dead Parent", Dict({{"Type", Name("Page")}, {"Parent", Ref(CPDFObjRef(90, 0))}}), false},
      {"B not an array", Dict({{"Type", Name("Page")}, {"Parent", Ref(parent)}, {"B", Name("x")}}), false},
      {"Type Pages", Dict({{"Type", Name("Pages")}, {"Parent", Ref(parent)}}), false},
      {"Type a string", Dict({{"Type", Str("Page")}, {"Parent", Ref(parent)}}), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CPDFPage::Verify(&doc, c.value), c.accepted) << c.what;
    delete c.value;
  }
}

TEST_F(PageResources, RealizedEntriesTakeTheirClasses) {
  CPDFObjRef fontRef = doc.Add(Dict({{"Subtype", Name("Type1")}}));
  CPDFObjRef rotateRef = doc.Add(Num(90));
  auto* fonts = Dict({{"F1", Ref(fontRef)}, {"F2", Dict({{"Subtype", Name("Unknown")}})}});
  CPDFPage* page = Tree({}, {{"Rotate", Ref(rotateRef)},
                             {"Dur", Num(3)},
                             {"MediaBox", Array({Num(0), Num(0), Num(1), Num(2), Num(3)})},
                             {"CropBox", Box(10, 10)},
                             {"LastModified", Str("D:2001")},
                             {"Resources", Dict({{"Font", fonts}, {"ProcSet", Array({Name("PDF")})}})}});
  ASSERT_NE(page, nullptr);

  // Rotate keeps its number; the object there is a CPDFInt now.
  auto* rotate = doc.As<CPDFInt>(rotateRef);
  ASSERT_NE(rotate, nullptr);
  EXPECT_EQ(rotate->GetInt(), 90);
  EXPECT_EQ(page->GetValue(&doc, "Rotate"), rotate);
  EXPECT_NE(dynamic_cast<CPDFReal*>(page->GetValue(&doc, "Dur")), nullptr);
  EXPECT_NE(dynamic_cast<CPDFDate*>(page->GetValue(&doc, "LastModified")), nullptr);
  EXPECT_NE(dynamic_cast<CPDFRect*>(page->GetValue(&doc, "CropBox")), nullptr);
  // Five numbers are no rectangle.
  CPDFObject* media = page->GetValue(&doc, "MediaBox");
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(dynamic_cast<CPDFRect*>(media), nullptr);
  EXPECT_EQ(page->Get_MediaBox(), nullptr);

  CPDFResDict* resources = page->Get_Resources();
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(makerLog.fontMask, -1);  // every candidate allowed
  EXPECT_EQ(PartOf(resources->Lookup("Font", "F1")), doc.Get(fontRef));
  EXPECT_NE(doc.As<FakeFont>(fontRef), nullptr);
  // The factory did not take F2: it stays a plain dictionary.
  CPDFObject* f2 = resources->Get_Font()->GetValue(&doc, "F2");
  ASSERT_NE(f2, nullptr);
  EXPECT_EQ(dynamic_cast<FakeFont*>(f2), nullptr);
  EXPECT_TRUE(f2->IsDefined());
  EXPECT_EQ(resources->Lookup("Font", "F2"), nullptr);
  EXPECT_NE(dynamic_cast<CPDFProcSet*>(resources->Get_ProcSet()->GetObj(&doc, 0)), nullptr);
}

TEST_F(PageResources, RealizeOptions) {
  struct Case {
    int options;
    bool cropBoxTyped;
    bool fontMaker;
    bool extGStateMaker;
    bool procSetTyped;
  };
  const Case cases[] = {
      {0, true, true, true, true},
      {kRealizeMinimal, false, true, false, false},
      {kRealizeNoResources, true, false, false, false},
  };
  for (const Case& c : cases) {
    makerLog = MakerLog();
    doc.options = c.options;
    auto* resources = Dict({{"Font", Dict({{"F1", Dict({{"Subtype", Name("Type1")}})}})},
                            {"ExtGState", Dict({{"GS1", Dict({})}})},
                            {"ProcSet", Array({Name("PDF")})}});
    CPDFPage* page = Tree({}, {{"MediaBox", Box(1, 1)}, {"CropBox", Box(1, 1)}, {"Resources", resources}});
    ASSERT_NE(page, nullptr) << c.options;
    EXPECT_NE(page->Get_MediaBox(), nullptr) << c.options;
    EXPECT_EQ(dynamic_cast<CPDFRect*>(page->GetValue(&doc, "CropBox")) != nullptr, c.cropBoxTyped) << c.options;
    CPDFResDict* realized = page->Get_Resources();
    ASSERT_NE(realized, nullptr) << c.options;
    EXPECT_EQ(makerLog.fontCalls > 0, c.fontMaker) << c.options;
    EXPECT_EQ(realized->Lookup("Font", "F1") != nullptr, c.fontMaker) << c.options;
    EXPECT_EQ(makerLog.extGStateCalls > 0, c.extGStateMaker) << c.options;
    EXPECT_EQ(dynamic_cast<CPDFProcSet*>(realized->Get_ProcSet()->GetObj(&doc, 0)) != nullptr, c.procSetTyped)
        << c.options;
  }
}

TEST_F(PageResources, WithoutMakersResourcesStayAsRead) {
  doc.makers = nullptr;
  CPDFPage* page = Tree({}, {{"Resources", Dict({{"Font", Dict({{"F1", Dict({{"Subtype", Name("Type1")}})}})}})}});
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Get_Resources()->Lookup("Font", "F1"), nullptr);
  EXPECT_TRUE(page->Get_Resources()->Get_Font()->GetValue(&doc, "F1")->IsDefined());
}

TEST_F(PageResources, DeadResourceFailsThePage) {
  for (ResourceMakers* m : {&makers, static_cast<ResourceMakers*>(nullptr)}) {
    doc.makers = m;
    CPDFPage* page = Tree({}, {{"Resources", Dict({{"Font", Dict({{"F1", Ref(CPDFObjRef(500, 0))}})}})}});
    EXPECT_EQ(page, nullptr);
    EXPECT_NE(doc.Get(pageRef), nullptr);
  }
}

TEST_F(PageResources, MakeUniqueName) {
  CPDFResDict resources;
  resources.Create(&doc);
  auto* fonts = new CPDFDict;
  fonts->Insert("F1", Dict({{"Subtype", Name("Unknown")}}));  // plain: taken all the same
  fonts->Insert("F2", new FakeFont);
  resources.Insert("Font", fonts);
  FakeFont font;
  CPDFName name;
  ASSERT_TRUE(resources.MakeUniqueName(name, font));
  EXPECT_STREQ(name.c_str(), "F3");

  for (int32_t n = 3; n <= CPDFResDict::kMaxUniqueNames; ++n) {
    fonts->Insert(("F" + std::to_string(n)).c_str(), new CPDFNull);
  }
  EXPECT_FALSE(resources.MakeUniqueName(name, font));
  EXPECT_STREQ(name.c_str(), "F4095");
}

TEST_F(PageResources, UpdateProcSet) {
  struct Case {
    bool fonts;
    bool xobjects;
    bool indirect;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {true, false, false, {"PDF", "Text"}},
      {false, false, true, {"PDF"}},
      {true, true, true, {"PDF", "Text", "ImageB", "ImageC", "ImageI"}},
  };
  for (const Case& c : cases) {
    CPDFResDict resources;
    resources.Create(&doc);
    resources.Insert("Font", c.fonts ? Dict({{"F1", Dict({})}}) : Dict({}));
    if (c.xobjects) resources.Insert("XObject", Dict({{"Im1", Dict({})}}));
    CPDFObjRef old;
    if (c.indirect) {
      old = doc.Add(Array({Name("ImageC")}));
      resources.Insert("ProcSet", Ref(old));
    }
    resources.UpdateProcSet();
    CPDFObjRef ref;
    CPDFArray* procSet = resources.Get_ProcSet(&ref);
    ASSERT_NE(procSet, nullptr);
    std::vector<std::string> names;
    for (int32_t i = 0; i < procSet->Count(); ++i) {
      auto* name = dynamic_cast<CPDFProcSet*>(procSet->GetObj(&doc, i));
      ASSERT_NE(name, nullptr);
      names.push_back(name->c_str());
    }
    EXPECT_EQ(names, c.expected);
    EXPECT_EQ(ref, old);  // an indirect ProcSet is rebuilt in place...
    EXPECT_EQ(doc.WasUpdated(old), c.indirect);  // ...and written by the next save
  }
}

TEST_F(PageResources, AddResourceCreatesTheCategory) {
  CPDFResDict resources;
  resources.Create(&doc);
  auto* pattern = new FakeResource<CPDFResource::kPattern>;
  CPDFObjRef ref;
  ASSERT_TRUE(resources.AddResource("P1", pattern, &ref));
  ASSERT_TRUE(ref.IsValid());
  EXPECT_EQ(doc.Get(ref), pattern);
  CPDFObjRef categoryRef;
  CPDFDict* category = resources.Get_Pattern(&categoryRef);
  ASSERT_NE(category, nullptr);
  EXPECT_FALSE(categoryRef.IsValid());  // made directly
  CPDFObjRef found;
  EXPECT_EQ(resources.Lookup("Pattern", "P1", &found), pattern);
  EXPECT_EQ(found, ref);

  // An indirect category is registered as changed before it grows.
  CPDFObjRef fonts = doc.Add(Dict({}));
  resources.Insert("Font", Ref(fonts));
  ASSERT_TRUE(resources.AddResource("F1", new FakeFont));
  EXPECT_TRUE(doc.WasUpdated(fonts));
  EXPECT_NE(resources.Lookup("Font", "F1"), nullptr);

  // Procedure sets are no named resources.
  EXPECT_FALSE(resources.AddResource("X", new CPDFProcSet("PDF")));
  EXPECT_EQ(resources.Lookup("ProcSet", "PDF"), nullptr);
}

}  // namespace
}  // namespace koyo::test
