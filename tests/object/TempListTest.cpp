#include "koyo/object/TempList.h"

#include <gtest/gtest.h>

#include <vector>

namespace koyo {
namespace {

std::vector<int> g_deleted;
void Record(int* slot) { g_deleted.push_back(*slot); }

std::vector<int> Items(const TempList<int>& l) {
  std::vector<int> out;
  for (auto* n = l.Head(); n; n = n->next) out.push_back(n->value);
  std::vector<int> back;
  for (auto* n = l.Tail(); n; n = n->prev) back.insert(back.begin(), n->value);
  EXPECT_EQ(out, back);
  EXPECT_EQ(static_cast<int>(out.size()), l.Count());
  return out;
}

TEST(TempList, PushPopAndClear) {
  g_deleted.clear();
  TempList<int> l(Record);
  ASSERT_TRUE(l.PushBack(2));
  ASSERT_TRUE(l.PushFront(1));
  ASSERT_TRUE(l.PushBack(3));
  ASSERT_TRUE(l.PushBack(4));
  EXPECT_EQ(Items(l), (std::vector<int>{1, 2, 3, 4}));
  l.PopBack(2);
  EXPECT_TRUE(g_deleted.empty());
  EXPECT_EQ(Items(l), (std::vector<int>{1, 2}));
  l.PopBack(5);  // more than there are
  EXPECT_EQ(Items(l), std::vector<int>{});
  ASSERT_TRUE(l.PushBack(7));
  ASSERT_TRUE(l.PushBack(8));
  l.Clear();
  EXPECT_EQ(g_deleted, (std::vector<int>{7, 8}));
  EXPECT_EQ(l.Head(), nullptr);
  EXPECT_EQ(l.Tail(), nullptr);
}

}  // namespace
}  // namespace koyo
