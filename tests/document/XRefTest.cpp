// The free list of a cross-reference section and the slots of a body.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "koyo/document/CPDFBody.h"
#include "koyo/document/CPDFXRef.h"
#include "koyo/object/CPDFInt.h"

namespace koyo {
namespace {

// A section with entries 1..count in use.
std::unique_ptr<CPDFXRef> MakeSection(int32_t count) {
  auto xref = std::make_unique<CPDFXRef>();
  xref->Create(nullptr, nullptr);
  for (int32_t i = 0; i < count; ++i) {
    int32_t n = 0;
    EXPECT_TRUE(xref->AddEntry(&n));
    EXPECT_EQ(n, i + 1);
  }
  return xref;
}

// Frees the numbers of chain by hand, linked in the given order.
void Link(CPDFXRef& xref, const std::vector<int32_t>& chain) {
  xref.SetFreeHead(chain.empty() ? 0 : chain.front());
  for (size_t i = 0; i < chain.size(); ++i) {
    XRefEntry* e = xref.GetEntry(chain[i]);
    ASSERT_NE(e, nullptr);
    e->inUse = 0;
    e->offset = i + 1 < chain.size() ? chain[i + 1] : 0;
  }
}

std::vector<int32_t> Walk(const CPDFXRef& xref) {
  std::vector<int32_t> out;
  int32_t n = xref.GetFreeHead();
  while (n != 0 && out.size() < 100) {
    out.push_back(n);
    const XRefEntry* e = xref.GetEntry(n);
    if (!e) break;
    n = static_cast<int32_t>(e->offset);
  }
  return out;
}

TEST(FreeList, FreeingLinksInAscendingOrderOneGenerationUp) {
  struct Case {
    std::vector<int32_t> before;
    int32_t freed;
    std::vector<int32_t> after;
  } cases[] = {
      {{3, 9}, 7, {3, 7, 9}},
      {{3, 9}, 1, {1, 3, 9}},
      {{3, 9}, 10, {3, 9, 10}},
      {{}, 4, {4}},
  };
  for (const Case& c : cases) {
    auto owner = MakeSection(12);
    CPDFXRef& xref = *owner;
    Link(xref, c.before);
    int32_t gen = xref.GetEntry(c.freed)->genNum;
    xref.FreeEntry(c.freed);
    EXPECT_EQ(Walk(xref), c.after);
    EXPECT_EQ(xref.GetEntry(c.freed)->genNum, gen + 1);
    EXPECT_FALSE(xref.GetEntry(c.freed)->inUse);
    // Freeing it again changes nothing.
    xref.FreeEntry(c.freed);
    EXPECT_EQ(Walk(xref), c.after);
    EXPECT_EQ(xref.GetEntry(c.freed)->genNum, gen + 1);
  }
}

TEST(FreeList, UpdatingUnlinksWhereverTheEntrySits) {
  for (int32_t target : {3, 7, 9}) {
    auto owner = MakeSection(12);
    CPDFXRef& xref = *owner;
    Link(xref, {3, 7, 9});
    EXPECT_TRUE(xref.UpdateEntry(target));
    std::vector<int32_t> rest;
    for (int32_t n : {3, 7, 9}) {
      if (n != target) rest.push_back(n);
    }
    EXPECT_EQ(Walk(xref), rest);
    EXPECT_TRUE(xref.GetEntry(target)->inUse);
    EXPECT_EQ(xref.GetEntry(target)->offset, 0);
  }
  auto owner = MakeSection(12);
    CPDFXRef& xref = *owner;
  EXPECT_TRUE(xref.UpdateEntry(5));   // in use already
  EXPECT_FALSE(xref.UpdateEntry(20));  // no entry
  xref.GetEntry(5)->inUse = 0;        // free but not on the list
  EXPECT_FALSE(xref.UpdateEntry(5));
}

TEST(FreeList, DamagedListsEndTheWalk) {
  // 3 -> 5 -> 3 loops; 4 -> 2 turns back; 6 -> 8 names an entry in use.
  for (const std::vector<int32_t>& damaged : {std::vector<int32_t>{3, 5, 3}, std::vector<int32_t>{4, 2},
                                              std::vector<int32_t>{6, 8}}) {
    auto owner = MakeSection(12);
    CPDFXRef& xref = *owner;
    xref.SetFreeHead(damaged[0]);
    for (size_t i = 0; i + 1 < damaged.size(); ++i) {
      XRefEntry* e = xref.GetEntry(damaged[i]);
      e->inUse = 0;
      e->offset = damaged[i + 1];
    }
    xref.FreeEntry(10);
    EXPECT_FALSE(xref.GetEntry(10)->inUse);
    xref.GetEntry(11)->inUse = 0;
    EXPECT_FALSE(xref.UpdateEntry(11));  // not reachable: the walk stops
  }
}

TEST(FreeList, SlotsAreBoundedByTheCount) {
  auto owner = MakeSection(3);
  CPDFXRef& xref = *owner;
  XRefEntry e;
  e.objNum = 4;
  EXPECT_FALSE(xref.SetEntry(e));
  e.objNum = 0;
  EXPECT_FALSE(xref.SetEntry(e));
  EXPECT_EQ(xref.GetEntry(0), nullptr);
  EXPECT_EQ(xref.GetEntry(-1), nullptr);
  // A huge count costs nothing until entries exist.
  EXPECT_TRUE(xref.Resize(2000000000));
  e.objNum = 1999999999;
  EXPECT_TRUE(xref.SetEntry(e));
  EXPECT_EQ(xref.GetEntries().size(), 4u);
  EXPECT_TRUE(xref.Resize(2));
  EXPECT_EQ(xref.GetEntries().size(), 2u);
}

TEST(Body, SlotsMatchNumberAndGeneration) {
  CPDFBody body;
  body.Create(nullptr, nullptr);
  CPDFObjRef ref;
  auto* one = new CPDFInt(1);
  ASSERT_TRUE(body.AddObj(one, &ref));
  EXPECT_EQ(ref, CPDFObjRef(1, 0));
  EXPECT_EQ(body.GetObj(CPDFObjRef(1, 0)), one);
  EXPECT_EQ(body.GetObj(CPDFObjRef(1, 1)), nullptr);
  auto* two = new CPDFInt(2);
  EXPECT_FALSE(body.SetObj(CPDFObjRef(2, 0), two));  // beyond the slots
  EXPECT_TRUE(body.Resize(5));
  EXPECT_TRUE(body.SetObj(CPDFObjRef(2, 0), two));
  EXPECT_EQ(body.DetachObj(CPDFObjRef(2, 1)), nullptr);
  CPDFObject* detached = body.DetachObj(CPDFObjRef(2, 0));
  EXPECT_EQ(detached, two);
  delete detached;
  EXPECT_TRUE(body.SetObj(CPDFObjRef(1, 0), one));  // the same object: kept, not destroyed
  EXPECT_EQ(static_cast<CPDFInt*>(body.GetObj(CPDFObjRef(1, 0)))->GetInt(), 1);
  body.DeleteObj(CPDFObjRef(1, 0));
  EXPECT_EQ(body.GetObj(CPDFObjRef(1, 0)), nullptr);
}

}  // namespace
}  // namespace koyo
