// The convention every wrapper follows: typed getters with the reference
// out-parameter, setters that store directly or indirectly, SetType, entry
// realization and its failures, deep copies, factories and resource names.
#include <gtest/gtest.h>

#include <array>

#include "StructFixture.h"
#include "koyo/structure/CFDFCatalog.h"
#include "koyo/structure/CPDFCatalog.h"
#include "koyo/structure/CPDFPages.h"
#include "koyo/structure/CPDFRect.h"
#include "koyo/structure/CPDFResDict.h"
#include "koyo/structure/StructFactory.h"

namespace koyo::test {
namespace {

CPDFObjRef AddRoot(FakeDoc& doc) {
  return doc.Add(Dict({{"Type", Name("Pages")}, {"Kids", Array({})}, {"Count", Num(0)}}));
}

TEST(WrapperConvention, GetterFillsOrResetsTheReference) {
  FakeDoc doc;
  CPDFObjRef rootRef = AddRoot(doc);
  CPDFObjRef catalogRef = doc.Add(Dict({{"Type", Name("Catalog")}, {"Pages", Ref(rootRef)}}));
  CPDFCatalog indirect;
  ASSERT_TRUE(indirect.Realize(&doc, doc.Get(catalogRef)));
  CPDFObjRef ref(7, 7);
  CPDFPages* pages = indirect.Get_Pages(&ref);
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(ref, rootRef);
  EXPECT_EQ(pages, doc.Get(rootRef));

  auto* read = Dict({{"Type", Name("Catalog")},
                     {"Pages", Dict({{"Type", Name("Pages")}, {"Kids", Array({})}, {"Count", Num(0)}})}});
  CPDFCatalog direct;
  ASSERT_TRUE(direct.Realize(&doc, read));
  delete read;
  ref = CPDFObjRef(7, 7);
  EXPECT_NE(direct.Get_Pages(&ref), nullptr);
  EXPECT_FALSE(ref.IsValid());
  EXPECT_EQ(direct.Get_Dests(&ref), nullptr);  // absent
  EXPECT_FALSE(ref.IsValid());
}

TEST(WrapperConvention, SetterWithIndirectFlag) {
  FakeDoc doc;
  CPDFCatalog catalog;
  ASSERT_TRUE(catalog.Create(&doc));
  CPDFObjRef first;
  ASSERT_NE(catalog.Get_Pages(&first), nullptr);
  ASSERT_TRUE(first.IsValid());
  size_t objects = doc.Size();

  // A valid reference: the new node takes over that object number.
  auto* replacement = new CPDFPages;
  ASSERT_TRUE(replacement->Create(&doc, CPDFObjRef()));
  CPDFObjRef ref = first;
  ASSERT_TRUE(catalog.Set_Pages(replacement, true, &ref));
  EXPECT_EQ(ref, first);
  EXPECT_EQ(doc.Get(first), replacement);
  EXPECT_EQ(doc.Size(), objects);
  CPDFObjRef got;
  EXPECT_EQ(catalog.Get_Pages(&got), replacement);
  EXPECT_EQ(got, first);

  // No reference: a new number, written back.
  auto* another = new CPDFPages;
  ASSERT_TRUE(another->Create(&doc, CPDFObjRef()));
  CPDFObjRef fresh;
  ASSERT_TRUE(catalog.Set_Pages(another, true, &fresh));
  ASSERT_TRUE(fresh.IsValid());
  EXPECT_NE(fresh, first);
  EXPECT_EQ(doc.Get(fresh), another);
  EXPECT_EQ(doc.Size(), objects + 1);

  // Direct: no object, no reference.
  auto* direct = new CPDFPages;
  ASSERT_TRUE(direct->Create(&doc, CPDFObjRef()));
  ASSERT_TRUE(catalog.Set_Pages(direct));
  EXPECT_EQ(catalog.Get_Pages(&got), direct);
  EXPECT_FALSE(got.IsValid());
}

TEST(WrapperConvention, SetTypeTwiceLeavesOneType) {
  CPDFCatalog catalog;
  ASSERT_TRUE(catalog.SetType());
  ASSERT_TRUE(catalog.SetType());
  EXPECT_EQ(catalog.Count(), 1);
  EXPECT_STREQ(NameText(catalog.GetValue(nullptr, "Type")), "Catalog");
  // The stored name is a copy, not the class's own.
  EXPECT_NE(catalog.GetValue(nullptr, "Type"), &CPDFCatalog::Name_Catalog());
}

TEST(WrapperConvention, NewCatalogHasAnEmptyIndirectRoot) {
  FakeDoc doc;
  CPDFCatalog catalog;
  ASSERT_TRUE(catalog.Create(&doc));
  EXPECT_TRUE(CPDFCatalog::Verify(&doc, &catalog));
  CPDFObjRef ref;
  CPDFPages* root = catalog.Get_Pages(&ref);
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(ref.IsValid());
  EXPECT_STREQ(NameText(root->GetValue(&doc, "Type")), "Pages");
  EXPECT_EQ(root->Get_Count()->GetInt(), 0);
  EXPECT_FALSE(root->HasKey("Parent"));
}

TEST(WrapperConvention, CatalogCheck) {
  FakeDoc doc;
  CPDFObjRef root = AddRoot(doc);
  struct Case {
    const char* what;
    CPDFDict* value;
    bool accepted;
  };
  const Case cases[] = {
      {"catalog", Dict({{"Type", Name("Catalog")}, {"Pages", Ref(root)}}), true},
      {"indirect Type", Dict({{"Type", Ref(doc.Add(Name("Catalog")))}, {"Pages", Ref(root)}}), true},
      {"no Pages", Dict({{"Type", Name("Catalog")}}), false},
      {"Pages an array", Dict({{"Type", Name("Catalog")}, {"Pages", Array({})}}), false},
      {"other Type", Dict({{"Type", Name("Pages")}, {"Pages", Ref(root)}}), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CPDFCatalog::Verify(&doc, c.value), c.accepted) << c.what;
    delete c.value;
  }
}

TEST(WrapperConvention, EntryThatCannotBeResolvedFailsAndNothingIsLost) {
  FakeDoc doc;
  struct Case {
    const char* what;
    CPDFAtom* resources;  // null: absent
    bool realizes;
  };
  const Case cases[] = {
      {"absent", nullptr, true},
      {"resolvable", Dict({}), true},
      {"dead reference", Ref(CPDFObjRef(404, 0)), false},
  };
  for (const Case& c : cases) {
    auto* read = Dict({{"Type", Name("Pages")}, {"Kids", Array({})}, {"Count", Num(2)}});
    if (c.resources) read->Insert("Resources", c.resources);
    int32_t entries = read->Count();
    CPDFPages node;
    EXPECT_EQ(node.Realize(&doc, read), c.realizes) << c.what;
    if (c.realizes) {
      EXPECT_EQ(read->Count(), 0) << c.what;  // the node took the entries
      EXPECT_EQ(node.Count(), entries) << c.what;
      EXPECT_EQ(node.Get_Count()->GetType(), CPDFObject::kInt) << c.what;
    } else {
      EXPECT_EQ(read->Count(), entries) << c.what;  // given back
      EXPECT_EQ(node.Count(), 0) << c.what;
    }
    delete read;
  }
  // The catalog wants its Pages.
  auto* noPages = Dict({{"Type", Name("Catalog")}, {"Pages", Ref(CPDFObjRef(404, 0))}});
  CPDFCatalog catalog;
  EXPECT_FALSE(catalog.Realize(&doc, noPages));
  EXPECT_EQ(noPages->Count(), 2);
  delete noPages;
}

TEST(WrapperConvention, RealizeKeyForTheTrailer) {
  FakeDoc doc;
  CPDFObjRef root = AddRoot(doc);
  CPDFObjRef catalogRef = doc.Add(Dict({{"Type", Name("Catalog")}, {"Pages", Ref(root)}}));
  CPDFDict trailer;
  trailer.Insert("Root", Ref(catalogRef));
  ASSERT_TRUE(RealizeKey(&doc, trailer, "Root", CPDFObject::kDict, MakeAs<CPDFCatalog>));
  auto* catalog = doc.As<CPDFCatalog>(catalogRef);
  ASSERT_NE(catalog, nullptr);
  EXPECT_EQ(catalog->GetDoc(), &doc);
  EXPECT_NE(doc.As<CPDFPages>(root), nullptr);
  // Once typed, realizing again leaves it alone.
  ASSERT_TRUE(RealizeKey(&doc, trailer, "Root", CPDFObject::kDict, MakeAs<CPDFCatalog>));
  EXPECT_EQ(doc.Get(catalogRef), catalog);

  CPDFDict dead;
  dead.Insert("Root", Ref(CPDFObjRef(404, 0)));
  EXPECT_FALSE(RealizeKey(&doc, dead, "Root", CPDFObject::kDict, MakeAs<CPDFCatalog>));
}

TEST(WrapperConvention, DuplicateKeepsTheClassWhereItShould) {
  FakeDoc doc;
  CPDFRect rect(1.5f, 2.0f, 10.0f, 4.0f);
  CPDFObject* copy = rect.Duplicate(&doc, nullptr);
  auto* copiedRect = dynamic_cast<CPDFRect*>(copy);
  ASSERT_NE(copiedRect, nullptr);
  EXPECT_EQ(copiedRect->GetDoc(), &doc);
  EXPECT_EQ(copiedRect->Count(), 4);
  EXPECT_EQ(copiedRect->Value(0), 1.5f);
  EXPECT_EQ(copiedRect->Width(), 8.5f);
  delete copy;

  CPDFCatalog catalog;
  catalog.SetType();
  copy = catalog.Duplicate(&doc, &doc);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(dynamic_cast<CPDFCatalog*>(copy), nullptr);  // a plain dictionary
  EXPECT_STREQ(NameText(static_cast<CPDFDict*>(copy)->GetValue(nullptr, "Type")), "Catalog");
  delete copy;

  FakeFont font;
  font.Insert("Subtype", new CPDFName("Type1"));
  CPDFResource* copiedFont = font.DuplicateResource(&doc, nullptr);
  ASSERT_NE(dynamic_cast<FakeFont*>(copiedFont), nullptr);
  EXPECT_EQ(copiedFont->GetDoc(), &doc);
  delete copiedFont;
}

TEST(WrapperConvention, RectangleNumbers) {
  CPDFRect rect;
  EXPECT_EQ(rect.Count(), 4);
  EXPECT_EQ(rect.Width(), 0.0f);
  ASSERT_TRUE(rect.Set(10.7f, 20.0f, 5.0f, 8.0f));
  auto* x1 = dynamic_cast<CPDFNumber*>(rect.GetObj(nullptr, 0));
  ASSERT_NE(x1, nullptr);
  EXPECT_EQ(x1->GetInt(), 10);
  EXPECT_EQ(rect.Width(), 5.0f - 10.7f);  // not normalised
  EXPECT_EQ(rect.Height(), -12.0f);

  // Beyond +-32767 the integer counts, not the float.
  auto* big = new CPDFNumber(40000.5f);
  rect.SetObj(nullptr, 2, big);
  EXPECT_EQ(rect.Value(2), 40000.0f);

  CPDFRect other(1, 2, 3, 4);
  rect = other;
  EXPECT_EQ(rect.Value(3), 4.0f);
  EXPECT_NE(rect.GetAt(3), other.GetAt(3));  // new numbers

  auto* three = Array({Num(1), Num(2), Num(3)});
  auto* four = Array({Name("a"), Num(2), Num(3), Num(4)});
  EXPECT_FALSE(CPDFRect::Verify(nullptr, three));
  EXPECT_TRUE(CPDFRect::Verify(nullptr, four));  // element kinds play no part
  delete three;
  delete four;
}

// Two candidate classes told apart by S, for the factory.
template <int Kind>
class FakeAction : public CPDFDocStruct, public CPDFDict {
public:
  static bool Verify(ObjectTable* doc, CPDFObject* value) {
    static const CPDFName goTo("GoTo"), uri("URI"), any("Any");
    const CPDFDict* dict = DictOf(value);
    return dict && (EntryIsName(doc, *dict, "S", Kind == 0 ? goTo : uri) || EntryIsName(doc, *dict, "S", any));
  }
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept {
    if (dynamic_cast<CPDFDict*>(value)->HasKey("Broken")) return false;
    return RealizePlain(*this, doc, value);
  }
};
using FakeGoTo = FakeAction<0>;
using FakeURI = FakeAction<1>;

CPDFDict* Fallback(ObjectTable*, CPDFObject*) { return new CPDFDict; }

TEST(WrapperConvention, FactoryHonoursItsMask) {
  constexpr std::array<FactoryCandidate<CPDFDict>, 2> candidates{
      CandidateOf<CPDFDict, FakeGoTo>(0x1),
      CandidateOf<CPDFDict, FakeURI>(0x2),
  };
  struct Case {
    const char* s;
    int32_t mask;
    int expected;  // 0 GoTo, 1 URI, -1 none
  };
  const Case cases[] = {
      {"URI", 0x2, 1},  {"GoTo", 0x2, -1}, {"GoTo", -1, 0}, {"URI", -1, 1},
      {"Any", -1, 0},   {"Any", 0x2, 1},   {"Other", -1, -1},
  };
  for (const Case& c : cases) {
    auto* value = Dict({{"S", Name(c.s)}});
    CPDFDict* made = RunFactory<CPDFDict>(nullptr, value, c.mask, candidates);
    int kind = dynamic_cast<FakeGoTo*>(made) ? 0 : dynamic_cast<FakeURI*>(made) ? 1 : -1;
    EXPECT_EQ(kind, c.expected) << c.s << " " << c.mask;
    delete made;
    delete value;
  }
  // The chosen candidate failing to realize gives null; later ones are not tried.
  auto* broken = Dict({{"S", Name("Any")}, {"Broken", Num(1)}});
  EXPECT_EQ(RunFactory<CPDFDict>(nullptr, broken, -1, candidates), nullptr);
  EXPECT_TRUE(broken->HasKey("S"));
  delete broken;
  // With nothing accepted, the fallback decides.
  auto* other = Dict({{"S", Name("Other")}});
  CPDFDict* fallback = RunFactory<CPDFDict>(nullptr, other, -1, candidates, Fallback);
  EXPECT_NE(fallback, nullptr);
  delete fallback;
  delete other;
}

TEST(WrapperConvention, ResourceNamesAndCategories) {
  FakeResource<CPDFResource::kXObject> image;
  CPDFName name;
  ASSERT_TRUE(image.MakeName(7, name));
  EXPECT_STREQ(name.c_str(), "P7");
  FakeFont font;
  ASSERT_TRUE(font.MakeName(12, name));
  EXPECT_STREQ(name.c_str(), "F12");
  EXPECT_STREQ(font.CategoryName(), "Font");
  EXPECT_EQ(font.GetCategory(), CPDFResource::kFont);
  EXPECT_EQ(font.ValuePart(), static_cast<CPDFObject*>(&font));
  EXPECT_STREQ(image.CategoryName(), "XObject");
  EXPECT_EQ(CPDFResource::CategoryOf("Shading"), CPDFResource::kShading);
  EXPECT_EQ(CPDFResource::CategoryOf("Fonts"), 0);
  EXPECT_EQ(CPDFResource::CategoryNameOf(0x100), nullptr);
}

TEST(WrapperConvention, FDFCatalogLooksInsideFDF) {
  FakeDoc doc;
  CFDFCatalog empty;
  EXPECT_EQ(empty.Get_Fields(), nullptr);
  EXPECT_FALSE(empty.Set_F(Str("x.pdf")));

  CPDFObjRef fields = doc.Add(Array({}));
  auto* read = Dict({{"FDF", Dict({{"Fields", Ref(fields)}, {"F", Str("form.pdf")}})}});
  CFDFCatalog catalog;
  ASSERT_TRUE(catalog.Realize(&doc, read));
  delete read;
  CPDFObjRef ref;
  EXPECT_EQ(catalog.Get_Fields(&ref), doc.Get(fields));
  EXPECT_EQ(ref, fields);
  EXPECT_NE(catalog.Get_F(), nullptr);
  EXPECT_EQ(catalog.Get_Annots(&ref), nullptr);
  EXPECT_FALSE(ref.IsValid());
  ASSERT_TRUE(catalog.Set_F(Str("other.pdf")));
  EXPECT_STREQ(dynamic_cast<CPDFString*>(catalog.Get_F())->c_str(), "other.pdf");

  CFDFCatalog created;
  ASSERT_TRUE(created.Create(&doc));
  EXPECT_NE(created.Get_FDF(), nullptr);
  EXPECT_TRUE(created.Set_F(Str("a.pdf")));
}

}  // namespace
}  // namespace koyo::test
