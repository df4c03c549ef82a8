#include <gtest/gtest.h>

#include "framework/core/VArray.h"
#include "framework/core/VArrayWithWeight.h"

using TarnFramework::VArray;
using TarnFramework::VArrayWithWeight;

namespace {
int a, b, c;
}

TEST(VArray, PushGrowsByOneAndPopReturnsLast) {
  VArray<int> list;
  EXPECT_EQ(list.Pop(), nullptr);
  list.Push(&a);
  list.Push(&b);
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list.Last(), &b);
  EXPECT_EQ(list.Pop(), &b);
  EXPECT_EQ(list.count, 1);
  list.Clear();
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(list.items, nullptr);
}

TEST(VArrayWithWeight, AddKeepsWeightZeroItemsInOrderAheadOfWeightedOnes) {
  VArrayWithWeight<int> list;
  list.Add(&a);
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.weights[0], 0);
  list.Add(&b);
  list.weights[1] = 5;  // b moves behind every later weight-0 item
  list.Add(&c);
  ASSERT_EQ(list.count, 3);
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list[1], &c);
  EXPECT_EQ(list[2], &b);
  EXPECT_EQ(list.weights[2], 5);
}

TEST(VArrayWithWeight, RemoveDropsEveryCopyAndReportsAbsence) {
  VArrayWithWeight<int> list;
  EXPECT_FALSE(list.Remove(&a)) << "no storage yet";
  list.Add(&a);
  list.Add(&b);
  list.Add(&a);
  EXPECT_FALSE(list.Remove(nullptr));
  EXPECT_FALSE(list.Remove(&c));
  EXPECT_EQ(list.count, 3);
  EXPECT_TRUE(list.Remove(&a));
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list[0], &b);
  EXPECT_TRUE(list.Remove(&b));
  EXPECT_EQ(list.count, 0);
}

TEST(VArray, RemoveDropsEveryCopy) {
  VArray<int> list;
  list.Push(&a);
  list.Push(&b);
  list.Push(&a);
  EXPECT_TRUE(list.Remove(&a));
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list[0], &b);
  EXPECT_FALSE(list.Remove(&c));
}
