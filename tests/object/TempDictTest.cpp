#include "koyo/object/TempDict.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace koyo {
namespace {

// A key whose tag does not take part in the order: shows which key object a
// map kept.
struct Key {
  int k;
  int tag = 0;
  bool operator<(const Key& o) const { return k < o.k; }
};

std::vector<int> g_deleted;
void Record(int* slot) { g_deleted.push_back(*slot); }

using Dict = TempDict<Key, int>;

// Checks links, order, count, first and last; returns the keys in order.
std::vector<int> CheckedKeys(const Dict& d) {
  std::vector<int> keys;
  for (const auto& node : d) keys.push_back(node.key.k);
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  EXPECT_EQ(static_cast<int>(keys.size()), d.Count());
  if (d.Root()) {
    EXPECT_EQ(d.Root()->parent, nullptr);
  }
  int linked = 0;
  std::vector<const Dict::Node*> todo;
  if (d.Root()) todo.push_back(d.Root());
  while (!todo.empty()) {
    const Dict::Node* n = todo.back();
    todo.pop_back();
    ++linked;
    for (const Dict::Node* c : {n->left, n->right}) {
      if (!c) continue;
      EXPECT_EQ(c->parent, n);
      todo.push_back(c);
    }
  }
  EXPECT_EQ(linked, d.Count());
  if (keys.empty()) {
    EXPECT_EQ(d.First(), nullptr);
    EXPECT_EQ(d.Last(), nullptr);
  } else {
    EXPECT_EQ(d.First()->key.k, keys.front());
    EXPECT_EQ(d.Last()->key.k, keys.back());
  }
  return keys;
}

// The tree in prefix form: "k(left,right)", "-" for no child.
std::string Shape(const Dict::Node* n) {
  if (!n) return "-";
  if (!n->left && !n->right) return std::to_string(n->key.k);
  return std::to_string(n->key.k) + "(" + Shape(n->left) + "," + Shape(n->right) + ")";
}

Dict Build(std::initializer_list<int> keys) {
  Dict d(Record);
  for (int k : keys) EXPECT_TRUE(d.Insert(Key{k}, k * 10));
  return d;
}

TEST(TempDict, ThreeNodeChainsBecomeBalancedTriples) {
  struct Case {
    std::vector<int> order;
    const char* shape;
  } cases[] = {
      {{3, 2, 1}, "2(1,3)"},  // left-left
      {{1, 2, 3}, "2(1,3)"},  // right-right
      {{1, 3, 2}, "2(1,3)"},  // left of a right child
      {{3, 1, 2}, "2(1,3)"},  // right of a left child
      // A chain below the root is rebuilt in place, linked to the old parent.
      {{2, 1, 3, 4, 5}, "2(1,4(3,5))"},
      {{4, 5, 1, 2, 3}, "4(2(1,3),5)"},
      // No chain: a parent with two children, or a grandparent with two.
      {{2, 1, 3, 4}, "2(1,3(-,4))"},
      {{5, 3, 7, 1}, "5(3(1,-),7)"},
  };
  for (const Case& c : cases) {
    Dict d(Record);
    for (int k : c.order) ASSERT_TRUE(d.Insert(Key{k}, k));
    EXPECT_EQ(Shape(d.Root()), c.shape);
    std::vector<int> sorted = c.order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(CheckedKeys(d), sorted);
  }
}

TEST(TempDict, NamesCBAGiveRootBAndAscendingIteration) {
  TempDict<std::string, int> d;
  for (const char* k : {"C", "B", "A"}) ASSERT_TRUE(d.Insert(k, 0));
  EXPECT_EQ(d.Root()->key, "B");
  EXPECT_EQ(d.Root()->left->key, "A");
  EXPECT_EQ(d.Root()->right->key, "C");
  std::string order;
  for (auto& n : d) order += n.key;
  EXPECT_EQ(order, "ABC");
}

TEST(TempDict, InsertingAnExistingKeyReplacesTheValue) {
  g_deleted.clear();
  Dict d = Build({3, 2, 1});
  ASSERT_TRUE(d.Insert(Key{2, 99}, 222));
  EXPECT_EQ(d.Count(), 3);
  EXPECT_EQ(g_deleted, std::vector<int>{20});
  auto it = d.Find(Key{2});
  ASSERT_NE(it, d.end());
  EXPECT_EQ(it->value, 222);
  EXPECT_EQ(it->key.tag, 0);  // the first key object stays
  // Storing the value that is already there does not destroy it.
  ASSERT_TRUE(d.Insert(Key{2}, 222));
  EXPECT_EQ(g_deleted, std::vector<int>{20});
}

TEST(TempDict, EraseCases) {
  struct Case {
    std::vector<int> build;
    int erase;
    const char* shape;
  } cases[] = {
      {{2, 1, 3}, 1, "2(-,3)"},                      // a leaf
      {{2, 1, 3}, 2, "1(-,3)"},                      // the root: predecessor takes its place
      {{2, 1, 3, 4}, 3, "2(1,4)"},                   // only a right subtree
      {{5, 2, 8, 1, 4, 3}, 5, "4(2(1,3),8)"},        // deep predecessor with a left subtree
      {{5, 2, 8, 1, 4, 3}, 2, "5(1(-,4(3,-)),8)"},   // predecessor is the left child itself
  };
  for (const Case& c : cases) {
    g_deleted.clear();
    Dict d(Record);
    for (int k : c.build) ASSERT_TRUE(d.Insert(Key{k}, k));
    ASSERT_NE(d.Find(Key{c.erase}), d.end());
    d.Erase(d.Find(Key{c.erase}));
    EXPECT_EQ(Shape(d.Root()), c.shape) << c.erase;
    EXPECT_EQ(d.Find(Key{c.erase}), d.end());
    EXPECT_TRUE(g_deleted.empty());  // erasing does not destroy the value
    std::vector<int> rest = c.build;
    rest.erase(std::find(rest.begin(), rest.end(), c.erase));
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(CheckedKeys(d), rest);
  }
}

TEST(TempDict, FirstAndLastFollowEveryChange) {
  Dict d = Build({5, 3, 7});
  d.Erase(d.Find(Key{3}));
  EXPECT_EQ(d.First()->key.k, 5);
  d.Erase(d.Find(Key{7}));
  EXPECT_EQ(d.Last()->key.k, 5);
  d.Erase(d.begin());
  EXPECT_EQ(d.Count(), 0);
  EXPECT_EQ(d.Root(), nullptr);
  CheckedKeys(d);
}

TEST(TempDict, ClearHandsValuesOverInKeyOrder) {
  g_deleted.clear();
  Dict d = Build({4, 1, 3, 2, 5});
  d.Clear();
  EXPECT_EQ(g_deleted, (std::vector<int>{10, 20, 30, 40, 50}));
  EXPECT_EQ(d.Count(), 0);
  EXPECT_EQ(d.First(), nullptr);
}

TEST(TempDict, LongSortedRunsStayConsistent) {
  // Sorted insertion makes a deep tree; every walk must stay iterative.
  Dict d;
  const int n = 20000;
  for (int i = 0; i < n; ++i) ASSERT_TRUE(d.Insert(Key{i}, i));
  std::vector<int> keys = CheckedKeys(d);
  ASSERT_EQ(static_cast<int>(keys.size()), n);
  for (int i = 0; i < n; i += 2) d.Erase(d.Find(Key{i}));
  keys = CheckedKeys(d);
  ASSERT_EQ(static_cast<int>(keys.size()), n / 2);
  EXPECT_EQ(keys.front(), 1);
  auto it = d.FindBy([](const Key& k) { return k.k < 777 ? -1 : k.k > 777; });
  ASSERT_NE(it, d.end());
  EXPECT_EQ(it->value, 777);
}

TEST(TempDict, SwapExchangesEntries) {
  Dict a = Build({1, 2});
  Dict b = Build({9});
  a.Swap(b);
  EXPECT_EQ(CheckedKeys(a), std::vector<int>{9});
  EXPECT_EQ(CheckedKeys(b), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace koyo
