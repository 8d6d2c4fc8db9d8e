#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "base/assocarray.h"

namespace {
std::vector<int> disposed;
void DisposeInt(int v) { disposed.push_back(v); }
}  // namespace

TEST(StringKeyedArray, KeepsKeysSortedAndFindsThem)
{
  BASE_StringKeyedArray<int> map;
  const char* keys[] = {"pear", "apple", "fig", "zucchini", "banana", "cherry"};
  for (int i = 0; i < 6; ++i) map.Insert(keys[i], i + 1);
  ASSERT_EQ(map.GetSize(), 6);
  const char* prev = "";
  for (int i = 0; i < map.GetSize(); ++i) {
    const char* k = nullptr;
    map.Enumerate(i, &k);
    EXPECT_LT(std::strcmp(prev, k), 0);
    prev = k;
  }
  for (int i = 0; i < 6; ++i) EXPECT_EQ(map.Get(keys[i]), i + 1) << keys[i];
  EXPECT_EQ(map.Get("grape", -1), -1);
  EXPECT_FALSE(map.Exists("app"));
}

TEST(StringKeyedArray, CopiesKeysAndDisposesReplacedValues)
{
  disposed.clear();
  {
    BASE_StringKeyedArray<int> map(DisposeInt);
    char key[8] = "alpha";
    map.Insert(key, 10);
    std::strcpy(key, "omega");  // the array holds its own copy
    EXPECT_EQ(map.Get("alpha"), 10);
    EXPECT_FALSE(map.Exists("omega"));
    map.Insert("alpha", 11);
    EXPECT_EQ(disposed, std::vector<int>{10});
    EXPECT_EQ(map.GetSize(), 1);
    map.Insert("beta", 20);
    map.Delete("alpha");
    map.Delete("missing");
    EXPECT_EQ(disposed, (std::vector<int>{10, 11}));
  }
  EXPECT_EQ(disposed, (std::vector<int>{10, 11, 20})) << "destruction disposes what is left";
}
