#include "koyo/object/TempArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace koyo {
namespace {

std::vector<int> g_deleted;
void Record(int* slot) { g_deleted.push_back(*slot); }

class TempArrayTest : public ::testing::Test {
protected:
  void SetUp() override { g_deleted.clear(); }
  TempArray<int> a{Record};
  void Fill(int n) {
    for (int i = 0; i < n; ++i) ASSERT_TRUE(a.Push_Back(i));
  }
  std::vector<int> Items() const { return std::vector<int>(a.begin(), a.end()); }
};

TEST_F(TempArrayTest, CapacityGrowsInStepsOfTen) {
  Fill(10);
  EXPECT_EQ(a.Capacity(), 10);
  ASSERT_TRUE(a.Push_Back(10));
  EXPECT_EQ(a.Capacity(), 20);
  EXPECT_EQ(a.Count(), 11);
  EXPECT_EQ(Items(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(TempArrayTest, PushFrontShiftsEverything) {
  Fill(10);
  ASSERT_TRUE(a.Push_Front(-1));
  EXPECT_EQ(a.Count(), 11);
  EXPECT_EQ(a.GetAt(0), -1);
  EXPECT_EQ(a.GetAt(10), 9);
}

TEST_F(TempArrayTest, SetAtDeletesTheOldElementOnly) {
  Fill(3);
  EXPECT_FALSE(a.SetAt(3, 7));
  EXPECT_FALSE(a.SetAt(-1, 7));
  EXPECT_TRUE(g_deleted.empty());
  EXPECT_TRUE(a.SetAt(1, 7));
  EXPECT_EQ(g_deleted, std::vector<int>{1});
  EXPECT_EQ(Items(), (std::vector<int>{0, 7, 2}));
}

TEST_F(TempArrayTest, RemoveAtLeavesDeletionToTheCaller) {
  Fill(4);
  EXPECT_TRUE(a.RemoveAt(1));
  EXPECT_FALSE(a.RemoveAt(3));
  EXPECT_TRUE(g_deleted.empty());
  EXPECT_EQ(Items(), (std::vector<int>{0, 2, 3}));
}

TEST_F(TempArrayTest, ResizeAndClearHandDroppedElementsToTheDeleter) {
  Fill(5);
  ASSERT_TRUE(a.Resize(2));
  EXPECT_EQ(g_deleted, (std::vector<int>{2, 3, 4}));
  ASSERT_TRUE(a.Resize(4));
  EXPECT_EQ(Items(), (std::vector<int>{0, 1, 0, 0}));
  g_deleted.clear();
  a.Clear();
  EXPECT_EQ(g_deleted, (std::vector<int>{0, 1, 0, 0}));
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 0);
}

TEST_F(TempArrayTest, SwapExchangesContents) {
  Fill(3);
  TempArray<int> other;
  ASSERT_TRUE(other.Push_Back(42));
  a.Swap(other);
  EXPECT_EQ(Items(), std::vector<int>{42});
  EXPECT_EQ(other.Count(), 3);
  other.Clear();  // no deleter there
  EXPECT_TRUE(g_deleted.empty());
}

}  // namespace
}  // namespace koyo
