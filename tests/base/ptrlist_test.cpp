#include <vector>

#include <gtest/gtest.h>

#include "base/ptrlist.h"

namespace {
int values[6] = {0, 1, 2, 3, 4, 5};
std::vector<int> destroyed;
void Record(int* item) { destroyed.push_back(*item); }
}  // namespace

TEST(PtrList, OutsideIndexesGiveNullAndDoNothing)
{
  BASE_PtrList<int> list;
  EXPECT_EQ(list.Get(0), nullptr);
  list.Add(&values[1]);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(1), nullptr);
  list.Delete(5);
  list.Delete(-1);
  EXPECT_EQ(list.GetSize(), 1);
  EXPECT_EQ(list.Find(&values[2]), -1);
}

TEST(PtrList, InsertClampsAndShiftsTheTail)
{
  BASE_PtrList<int> list;
  list.Add(&values[2]);
  list.Insert(-7, &values[1]);
  list.Insert(99, &values[4]);
  list.Insert(2, &values[3]);
  ASSERT_EQ(list.GetSize(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(*list.Get(i), i + 1);
  list.Delete(1);
  EXPECT_EQ(*list.Get(1), 3);
  EXPECT_EQ(list.Find(&values[4]), 2);
}

TEST(PtrList, EmptyGoesFromLastToFirst)
{
  BASE_PtrList<int> list;
  for (int i = 0; i < 5; ++i) list.Add(&values[i]);
  destroyed.clear();
  list.Empty(false, Record);
  EXPECT_EQ(destroyed, (std::vector<int>{4, 3, 2, 1, 0}));
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(PtrList, DeletesOwnedItemsWhenAsked)
{
  BASE_PtrList<std::vector<int>> list;
  for (int i = 0; i < 3000; ++i) list.Add(new std::vector<int>(3, i));  // several growths
  EXPECT_EQ((*list.Get(2999))[0], 2999);
  list.Delete(0, true);
  list.Empty(true);  // the sanitizer build reports any leak
  EXPECT_EQ(list.GetSize(), 0);
}
