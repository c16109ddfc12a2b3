// The page tree walks: finding a page by position and deleting one, on
// well-formed, damaged and cyclic trees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StructFixture.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/structure/CPDFCatalog.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFPages.h"

namespace koyo::test {
namespace {

// GetPage(index) returns the object the document now holds under ref.
::testing::AssertionResult IsPageAt(CPDFPages* tree, int32_t index, FakeDoc& doc, const CPDFObjRef& ref,
                                    CPDFObjRef* out = nullptr) {
  CPDFPage* page = tree->GetPage(index, out);
  if (!page) return ::testing::AssertionFailure() << "no page at " << index;
  if (page != doc.Get(ref)) return ::testing::AssertionFailure() << "another page at " << index;
  return ::testing::AssertionSuccess();
}

class PageTree : public ::testing::Test {
protected:
  // Opens the tree the way the document does: the trailer's Root becomes the
  // catalog, which realizes the root node.
  CPDFPages* Open(const CPDFObjRef& rootNode) {
    CPDFObjRef catalogRef = doc.Add(Dict({{"Type", Name("Catalog")}, {"Pages", Ref(rootNode)}}));
    CPDFDict trailer;
    trailer.Insert("Root", Ref(catalogRef));
    EXPECT_TRUE(RealizeKey(&doc, trailer, "Root", CPDFObject::kDict, MakeAs<CPDFCatalog>));
    auto* catalog = doc.As<CPDFCatalog>(catalogRef);
    EXPECT_NE(catalog, nullptr);
    rootRef = rootNode;
    return catalog ? catalog->Get_Pages() : nullptr;
  }
  // A read page below parent.
  CPDFObjRef AddPage(const CPDFObjRef& parent) {
    return doc.Add(Dict({{"Type", Name("Page")}, {"Parent", Ref(parent)}}));
  }
  // A read node with the given kids; parent invalid for the root.
  void PutNode(const CPDFObjRef& at, const CPDFObjRef& parent, const std::vector<CPDFObjRef>& kids, int32_t count) {
    auto* array = Array({});
    for (const auto& kid : kids) array->Push_Back(Ref(kid));
    auto* node = Dict({{"Type", Name("Pages")}, {"Kids", array}, {"Count", Num(count)}});
    if (parent.IsValid()) node->Insert("Parent", Ref(parent));
    doc.Put(at, node);
  }
  // A node of n fresh pages.
  std::vector<CPDFObjRef> PutNodeOfPages(const CPDFObjRef& at, const CPDFObjRef& parent, int32_t n,
                                         int32_t count = -1) {
    std::vector<CPDFObjRef> pages;
    for (int32_t i = 0; i < n; ++i) pages.push_back(AddPage(at));
    PutNode(at, parent, pages, count < 0 ? n : count);
    return pages;
  }
  int32_t CountOf(const CPDFObjRef& node) {
    auto* pages = doc.As<CPDFPages>(node);
    return pages && pages->Get_Count() ? pages->Get_Count()->GetInt() : -1;
  }

  FakeDoc doc;
  CPDFObjRef rootRef;
};

TEST_F(PageTree, ThreePageRoot) {
  CPDFObjRef root = doc.Reserve();
  std::vector<CPDFObjRef> pages = PutNodeOfPages(root, CPDFObjRef(), 3);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);
  EXPECT_NE(dynamic_cast<CPDFInt*>(tree->Get_Count()), nullptr);

  for (int32_t i : {2, 0, 1}) {
    CPDFObjRef ref(7, 7);
    CPDFPage* page = tree->GetPage(i, &ref);
    ASSERT_NE(page, nullptr) << i;
    EXPECT_EQ(ref, pages[i]);
    EXPECT_EQ(page, doc.Get(pages[i]));  // the realized page took over the number
    EXPECT_FALSE(page->IsDefined());
  }
  EXPECT_EQ(tree->GetPage(3), nullptr);
  EXPECT_EQ(tree->GetPage(-1), nullptr);
}

TEST_F(PageTree, TwoLevelTreeRealizesOnlyThePath) {
  CPDFObjRef root = doc.Reserve(), a = doc.Reserve(), b = doc.Reserve();
  std::vector<CPDFObjRef> pagesA = PutNodeOfPages(a, root, 2);
  std::vector<CPDFObjRef> pagesB = PutNodeOfPages(b, root, 3);
  PutNode(root, CPDFObjRef(), {a, b}, 5);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);

  CPDFObjRef ref;
  CPDFPage* page = tree->GetPage(3, &ref);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ref, pagesB[1]);

  // A (its Count had to be read) and B are nodes now, under their old numbers,
  // and the root's Kids still refer to those numbers.
  EXPECT_NE(doc.As<CPDFPages>(a), nullptr);
  EXPECT_NE(doc.As<CPDFPages>(b), nullptr);
  CPDFObjRef kid0, kid1;
  tree->Get_Kids()->GetObj(&doc, 0, &kid0);
  tree->Get_Kids()->GetObj(&doc, 1, &kid1);
  EXPECT_EQ(kid0, a);
  EXPECT_EQ(kid1, b);
  EXPECT_EQ(doc.Get(pagesB[1]), page);
  EXPECT_EQ(page->Get_Parent(), doc.Get(b));
  // The pages not on the way are still as read.
  for (const auto& other : {pagesA[0], pagesA[1], pagesB[0], pagesB[2]}) {
    EXPECT_EQ(doc.As<CPDFPage>(other), nullptr);
    EXPECT_TRUE(doc.Get(other)->IsDefined());
  }
}

TEST_F(PageTree, DeadKidCountsAsOnePage) {
  CPDFObjRef root = doc.Reserve();
  CPDFObjRef p1 = AddPage(root), p2 = AddPage(root);
  PutNode(root, CPDFObjRef(), {CPDFObjRef(99, 0), p1, p2}, 3);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);

  EXPECT_EQ(tree->GetPage(0), nullptr);
  CPDFObjRef ref;
  EXPECT_TRUE(IsPageAt(tree, 1, doc, p1, &ref));
  EXPECT_EQ(ref, p1);
  EXPECT_TRUE(IsPageAt(tree, 2, doc, p2));
}

TEST_F(PageTree, KidsThatAreNoIndirectPageOrNodeFail) {
  struct Case {
    const char* what;
    CPDFAtom* (*kid)(const CPDFObjRef& root, FakeDoc& doc);
  };
  const Case cases[] = {
      {"direct page dictionary",
       [](const CPDFObjRef& root, FakeDoc&) -> CPDFAtom* {
         return Dict({{"Type", Name("Page")}, {"Parent", Ref(root)}});
       }},
      {"no Type",
       [](const CPDFObjRef& root, FakeDoc& d) -> CPDFAtom* { return Ref(d.Add(Dict({{"Parent", Ref(root)}}))); }},
      {"Type Template",
       [](const CPDFObjRef& root, FakeDoc& d) -> CPDFAtom* {
         return Ref(d.Add(Dict({{"Type", Name("Template")}, {"Parent", Ref(root)}})));
       }},
      {"indirect Type",
       [](const CPDFObjRef& root, FakeDoc& d) -> CPDFAtom* {
         return Ref(d.Add(Dict({{"Type", Ref(d.Add(Name("Page")))}, {"Parent", Ref(root)}})));
       }},
      {"page refused by its check (no Parent)",
       [](const CPDFObjRef&, FakeDoc& d) -> CPDFAtom* { return Ref(d.Add(Dict({{"Type", Name("Page")}}))); }},
      {"node without Count",
       [](const CPDFObjRef& root, FakeDoc& d) -> CPDFAtom* {
         return Ref(d.Add(Dict({{"Type", Name("Pages")}, {"Kids", Array({})}, {"Parent", Ref(root)}})));
       }},
  };
  for (const Case& c : cases) {
    FakeDoc local;
    CPDFObjRef root = local.Reserve();
    CPDFObjRef last = local.Add(Dict({{"Type", Name("Page")}, {"Parent", Ref(root)}}));
    auto* kids = Array({c.kid(root, local), Ref(last)});
    local.Put(root, Dict({{"Type", Name("Pages")}, {"Kids", kids}, {"Count", Num(2)}}));
    CPDFPages tree;
    ASSERT_TRUE(tree.Realize(&local, local.Get(root))) << c.what;
    EXPECT_EQ(tree.GetPage(0), nullptr) << c.what;
    EXPECT_FALSE(tree.DeletePage(0, root)) << c.what;
    // The last page is reached without passing the bad kid.
    EXPECT_TRUE(IsPageAt(&tree, 1, local, last)) << c.what;
  }
}

TEST_F(PageTree, ShortLastKidStillGivesItsLastPage) {
  CPDFObjRef root = doc.Reserve(), a = doc.Reserve(), b = doc.Reserve();
  PutNodeOfPages(a, root, 2);
  std::vector<CPDFObjRef> pagesB = PutNodeOfPages(b, root, 2);
  PutNode(root, CPDFObjRef(), {a, b}, 5);  // claims one page more than there is
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);
  CPDFObjRef ref;
  EXPECT_NE(tree->GetPage(4, &ref), nullptr);
  EXPECT_EQ(ref, pagesB[1]);
}

TEST_F(PageTree, DeletingTheOnlyPageOfANodeRemovesTheNode) {
  // root (3) -> [M (2) -> [A (1) -> [a1], p], q]
  CPDFObjRef root = doc.Reserve(), m = doc.Reserve(), a = doc.Reserve();
  std::vector<CPDFObjRef> pagesA = PutNodeOfPages(a, m, 1);
  CPDFObjRef p = AddPage(m), q = AddPage(root);
  PutNode(m, root, {a, p}, 2);
  PutNode(root, CPDFObjRef(), {m, q}, 3);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);

  ASSERT_TRUE(tree->DeletePage(0, root));
  EXPECT_EQ(doc.Get(a), nullptr);
  EXPECT_TRUE(doc.WasDeleted(a));
  EXPECT_EQ(doc.Get(pagesA[0]), nullptr);
  EXPECT_EQ(doc.As<CPDFPages>(m)->Get_Kids()->Count(), 1);
  EXPECT_EQ(CountOf(m), 1);
  EXPECT_EQ(CountOf(root), 2);
  // Both changed nodes are written by the next save.
  EXPECT_TRUE(doc.WasUpdated(m));
  EXPECT_TRUE(doc.WasUpdated(root));
  EXPECT_TRUE(IsPageAt(tree, 0, doc, p));
  EXPECT_TRUE(IsPageAt(tree, 1, doc, q));
}

TEST_F(PageTree, DeletingTheLastPageOfTheDocument) {
  CPDFObjRef root = doc.Reserve(), a = doc.Reserve();
  std::vector<CPDFObjRef> pages = PutNodeOfPages(a, root, 1);
  PutNode(root, CPDFObjRef(), {a}, 1);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);

  ASSERT_TRUE(tree->DeletePage(0, root));
  EXPECT_EQ(CountOf(root), 0);
  EXPECT_EQ(tree->Get_Kids()->Count(), 0);
  EXPECT_EQ(doc.Get(a), nullptr);
  EXPECT_EQ(doc.Get(pages[0]), nullptr);
  EXPECT_NE(doc.Get(root), nullptr);  // the root stays
  EXPECT_EQ(tree->GetPage(0), nullptr);
  EXPECT_FALSE(tree->DeletePage(0, root));
}

TEST_F(PageTree, DeletingAMiddlePageKeepsTheOthersInOrder) {
  CPDFObjRef root = doc.Reserve();
  std::vector<CPDFObjRef> pages = PutNodeOfPages(root, CPDFObjRef(), 3);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);
  ASSERT_TRUE(tree->DeletePage(1, root));
  EXPECT_TRUE(doc.WasDeleted(pages[1]));
  EXPECT_EQ(CountOf(root), 2);
  EXPECT_TRUE(IsPageAt(tree, 0, doc, pages[0]));
  EXPECT_TRUE(IsPageAt(tree, 1, doc, pages[2]));
}

TEST_F(PageTree, PositionTheKidsNeverReachChangesNothing) {
  CPDFObjRef root = doc.Reserve();
  PutNodeOfPages(root, CPDFObjRef(), 2, 5);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);
  EXPECT_TRUE(tree->DeletePage(3, root));
  EXPECT_EQ(CountOf(root), 5);
  EXPECT_EQ(tree->Get_Kids()->Count(), 2);
  EXPECT_TRUE(doc.deleted.empty());
  EXPECT_TRUE(doc.updated.empty());
}

TEST_F(PageTree, CyclicTreeGivesNoPage) {
  // root -> A -> [root]; root -> B -> [B].
  CPDFObjRef root = doc.Reserve(), a = doc.Reserve(), b = doc.Reserve();
  PutNode(a, root, {root}, 3);
  PutNode(b, root, {b}, 3);
  PutNode(root, CPDFObjRef(), {a, b}, 6);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);
  for (int32_t i : {0, 1, 4, 5}) {
    EXPECT_EQ(tree->GetPage(i), nullptr) << i;
    EXPECT_FALSE(tree->DeletePage(i, root)) << i;
  }
  EXPECT_EQ(CountOf(root), 6);
}

TEST_F(PageTree, DepthIsBounded) {
  // A chain of nodes, each with one kid, ending in one page.
  auto build = [](FakeDoc& d, int32_t depth) {
    std::vector<CPDFObjRef> nodes;
    for (int32_t i = 0; i < depth; ++i) nodes.push_back(d.Reserve());
    CPDFObjRef page = d.Add(Dict({{"Type", Name("Page")}, {"Parent", Ref(nodes.back())}}));
    for (int32_t i = 0; i < depth; ++i) {
      CPDFObjRef kid = i + 1 < depth ? nodes[i + 1] : page;
      auto* node = Dict({{"Type", Name("Pages")}, {"Kids", Array({Ref(kid)})}, {"Count", Num(1)}});
      if (i > 0) node->Insert("Parent", Ref(nodes[i - 1]));
      d.Put(nodes[i], node);
    }
    return std::pair(nodes.front(), page);
  };
  for (int32_t depth : {CPDFPages::kMaxDepth, CPDFPages::kMaxDepth + 1}) {
    FakeDoc local;
    auto [root, page] = build(local, depth);
    CPDFPages tree;
    ASSERT_TRUE(tree.Realize(&local, local.Get(root)));
    CPDFPage* found = tree.GetPage(0);
    if (depth <= CPDFPages::kMaxDepth) {
      EXPECT_EQ(found, local.Get(page)) << depth;
    } else {
      EXPECT_EQ(found, nullptr) << depth;
    }
  }
}

TEST_F(PageTree, PageThatFailsToRealizeKeepsWhatWasRead) {
  CPDFObjRef root = doc.Reserve();
  auto* resources = Dict({{"Font", Dict({{"F1", Ref(CPDFObjRef(77, 0))}})}});
  CPDFObjRef page = doc.Add(Dict({{"Type", Name("Page")}, {"Parent", Ref(root)}, {"Resources", resources}}));
  PutNode(root, CPDFObjRef(), {page}, 1);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->GetPage(0), nullptr);
  // The page is still the dictionary read, with all of its entries.
  auto* read = dynamic_cast<CPDFDict*>(doc.Get(page));
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->IsDefined());
  EXPECT_TRUE(read->HasKey("Type"));
  EXPECT_TRUE(read->HasKey("Parent"));
  EXPECT_TRUE(read->HasKey("Resources"));
}

// Builds a page tree from a shape: "p" a page, "x" a kid that cannot be
// loaded, "^" a kid leading back to the root, "(...)" a node of the kids
// inside, optionally followed by "=N" for a Count that differs from the pages
// below it. The whole shape is the root node.
class ShapeBuilder {
public:
  ShapeBuilder(FakeDoc& doc, const char* shape) : doc_(doc), text_(shape) {}
  CPDFObjRef Build() {
    root_ = doc_.Reserve();
    int32_t pages = 0;
    Node(root_, CPDFObjRef(), pages);
    return root_;
  }

private:
  // Reads "(kids)[=N]" at the cursor into node at, returning its Count in pages.
  void Node(const CPDFObjRef& at, const CPDFObjRef& parent, int32_t& count) {
    EXPECT_EQ(text_[pos_], '(') << text_;
    ++pos_;
    auto* kids = Array({});
    int32_t pages = 0;
    while (pos_ < text_.size() && text_[pos_] != ')') {
      char c = text_[pos_];
      if (c == 'p') {
        kids->Push_Back(Ref(doc_.Add(Dict({{"Type", Name("Page")}, {"Parent", Ref(at)}}))));
        ++pages;
        ++pos_;
      } else if (c == 'x') {
        kids->Push_Back(Ref(CPDFObjRef(9999, 0)));
        ++pages;
        ++pos_;
      } else if (c == '^') {
        kids->Push_Back(Ref(root_));
        ++pages;
        ++pos_;
      } else if (c == '(') {
        CPDFObjRef kid = doc_.Reserve();
        int32_t below = 0;
        Node(kid, at, below);
        kids->Push_Back(Ref(kid));
        pages += below;
      } else {
        ++pos_;  // spaces
      }
    }
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '=') {
      size_t used = 0;
      pages = std::stoi(text_.substr(pos_ + 1), &used);
      pos_ += 1 + used;
    }
    auto* node = Dict({{"Type", Name("Pages")}, {"Kids", kids}, {"Count", Num(pages)}});
    if (parent.IsValid()) node->Insert("Parent", Ref(parent));
    doc_.Put(at, node);
    count = pages;
  }

  FakeDoc& doc_;
  std::string text_;
  size_t pos_ = 0;
  CPDFObjRef root_;
};

// What GetPage gives at each position from -1 to n: the page's reference, or
// an invalid one for no page.
std::vector<CPDFObjRef> PagesInOrder(CPDFPages& tree, const std::vector<int32_t>& order, int32_t n) {
  std::vector<CPDFObjRef> found(static_cast<size_t>(n) + 2);
  for (int32_t i : order) {
    CPDFObjRef ref;
    CPDFPage* page = tree.GetPage(i, &ref);
    found[static_cast<size_t>(i + 1)] = page ? ref : CPDFObjRef();
  }
  return found;
}

TEST_F(PageTree, SequentialAccessGivesWhatSingleWalksGive) {
  const char* shapes[] = {
      "(ppp)",
      "((pp)(ppp)p(p))",
      "(p(p(p(pp)p)p)p)",
      "(px(pxp)p)",         // kids that cannot be loaded count as one page
      "((pp)=4(pp)p)",      // a node claiming more pages than it has
      "((ppp)=1(pp)p)",     // and one claiming fewer
      "((pp)(pp))=6",       // a root claiming more: its last page is the last kid's last
      "((pp)(pp)(p))=3",    // a root claiming fewer
      "(p(^)p(pp))",        // a kid leading back to the root
      "(()(p)()(pp)())",    // empty nodes
      "((pp)=-1(pp))",      // a negative Count
  };
  for (const char* shape : shapes) {
    FakeDoc walked;
    FakeDoc resumed;
    CPDFObjRef walkedRoot = ShapeBuilder(walked, shape).Build();
    CPDFObjRef resumedRoot = ShapeBuilder(resumed, shape).Build();
    CPDFPages byWalk;
    CPDFPages byStep;
    ASSERT_TRUE(byWalk.Realize(&walked, walked.Get(walkedRoot))) << shape;
    ASSERT_TRUE(byStep.Realize(&resumed, resumed.Get(resumedRoot))) << shape;
    int32_t n = byWalk.Get_Count()->GetInt() + 3;
    if (n < 8) n = 8;
    // Backwards every position is a walk of its own; forwards each one goes
    // on from the one before. Both documents number their objects alike.
    std::vector<int32_t> backwards, forwards;
    for (int32_t i = n; i >= -1; --i) backwards.push_back(i);
    for (int32_t i = -1; i <= n; ++i) forwards.push_back(i);
    std::vector<CPDFObjRef> expected = PagesInOrder(byWalk, backwards, n);
    std::vector<CPDFObjRef> got = PagesInOrder(byStep, forwards, n);
    for (int32_t i = -1; i <= n; ++i) {
      EXPECT_EQ(got[static_cast<size_t>(i + 1)], expected[static_cast<size_t>(i + 1)]) << shape << " at " << i;
    }
    // Going through a second time, now that everything is realized.
    EXPECT_EQ(PagesInOrder(byStep, forwards, n), expected) << shape;
  }
}

TEST_F(PageTree, SequentialAccessDoesNotWalkPastEveryEarlierKid) {
  FakeDoc wide;
  std::string shape = "(";
  for (int32_t i = 0; i < 50; ++i) shape += "(pppppppppp)";
  shape += ")";
  CPDFObjRef root = ShapeBuilder(wide, shape.c_str()).Build();
  CPDFPages tree;
  ASSERT_TRUE(tree.Realize(&wide, wide.Get(root)));
  wide.loads = 0;
  for (int32_t i = 0; i < 500; ++i) ASSERT_NE(tree.GetPage(i), nullptr) << i;
  // A walk from the top for each page would load about 500 * 25 node kids
  // and 500 * 5 page kids.
  EXPECT_LT(wide.loads, 5 * 500);
}

TEST_F(PageTree, ChangesToTheTreeBetweenSequentialCalls) {
  CPDFObjRef root = doc.Reserve(), a = doc.Reserve(), b = doc.Reserve();
  std::vector<CPDFObjRef> pagesA = PutNodeOfPages(a, root, 3);
  std::vector<CPDFObjRef> pagesB = PutNodeOfPages(b, root, 2);
  PutNode(root, CPDFObjRef(), {a, b}, 5);
  CPDFPages* tree = Open(root);
  ASSERT_NE(tree, nullptr);

  // Deleting the page just found: the next position is the page after it.
  ASSERT_TRUE(IsPageAt(tree, 0, doc, pagesA[0]));
  ASSERT_TRUE(IsPageAt(tree, 1, doc, pagesA[1]));
  ASSERT_TRUE(tree->DeletePage(1, root));
  EXPECT_TRUE(IsPageAt(tree, 2, doc, pagesB[0]));

  // Kids changed behind the tree's back: the kid taken is no longer there.
  ASSERT_TRUE(IsPageAt(tree, 0, doc, pagesA[0]));
  auto* nodeA = doc.As<CPDFPages>(a);
  ASSERT_NE(nodeA, nullptr);
  ASSERT_TRUE(nodeA->Get_Kids()->SetAt(0, Ref(pagesB[1])));
  ASSERT_TRUE(nodeA->Get_Kids()->SetAt(1, Ref(pagesA[0])));
  EXPECT_TRUE(IsPageAt(tree, 1, doc, pagesA[0]));

  // A new Kids array for the root.
  ASSERT_TRUE(IsPageAt(tree, 0, doc, pagesB[1]));
  ASSERT_TRUE(tree->Set_Kids(Array({Ref(b), Ref(a)})));
  EXPECT_TRUE(IsPageAt(tree, 1, doc, pagesB[1]));
}

TEST_F(PageTree, NewNodeAndParent) {
  CPDFPages node;
  ASSERT_TRUE(node.Create(&doc, CPDFObjRef(3, 0)));
  EXPECT_STREQ(NameText(node.GetValue(&doc, "Type")), "Pages");
  EXPECT_EQ(node.Get_Kids()->Count(), 0);
  EXPECT_EQ(node.Get_Count()->GetInt(), 0);
  ASSERT_TRUE(node.Set_Parent(CPDFObjRef(4, 0)));
  auto it = node.FindKey("Parent");
  ASSERT_NE(it, node.end());
  EXPECT_EQ(*static_cast<CPDFObjRef*>(it->value), CPDFObjRef(4, 0));
  EXPECT_EQ(node.GetPage(0), nullptr);
}

}  // namespace
}  // namespace koyo::test
