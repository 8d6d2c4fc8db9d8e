#include <climits>
#include <cstring>

#include <gtest/gtest.h>

#include "base/heapbuf.h"

TEST(HeapBufGrowth, AllocationsFollowThePagePolicy)
{
  BASE_HeapBuf hb;  // granularity 4096
  ASSERT_NE(hb.Resize(1), nullptr);
  EXPECT_EQ(hb.GetAlloc(), 4000);  // one page less the allocator's header room
  void* first = hb.Get();
  hb.Resize(4000);
  EXPECT_EQ(hb.Get(), first) << "growing within the allocation must not move the buffer";
  hb.Resize(5000);
  EXPECT_EQ(hb.GetAlloc(), 8096);
  hb.Resize(100000);  // extra = 50000 rounded down to 49152
  EXPECT_EQ(hb.GetAlloc(), ((100000 + 49152 + 96) & ~4095) - 96);
  hb.Resize(20000000);  // extra capped at 4 MiB
  EXPECT_EQ(hb.GetAlloc(), ((20000000 + 4194304 + 96) & ~4095) - 96);
}

TEST(HeapBufGrowth, SmallGranularityAddsHalfOrTheGranularity)
{
  BASE_HeapBuf hb(128);
  hb.Resize(10);
  EXPECT_EQ(hb.GetAlloc(), 10 + 128);
  hb.Resize(1000);
  EXPECT_EQ(hb.GetAlloc(), 1500);
}

TEST(HeapBufGrowth, ContentSurvivesReallocation)
{
  BASE_HeapBuf hb;
  char* p = static_cast<char*>(hb.Resize(3000));
  for (int i = 0; i < 3000; ++i) p[i] = static_cast<char>(i * 7);
  p = static_cast<char*>(hb.Resize(300000));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(p[i], static_cast<char>(i * 7)) << i;
}

TEST(HeapBufShrink, OnlyWhenMostlyUnusedAndAllowed)
{
  BASE_HeapBuf hb(128);
  hb.Resize(1000);  // alloc 1500: shrinks below min(750, 1500 - 512)
  hb.Resize(800);
  EXPECT_EQ(hb.GetAlloc(), 1500);
  hb.Resize(700, false);
  EXPECT_EQ(hb.GetAlloc(), 1500) << "resizeDown false never shrinks";
  EXPECT_EQ(hb.GetSize(), 700);
  hb.Resize(700);
  EXPECT_EQ(hb.GetAlloc(), 700 + 350);

  BASE_HeapBuf pages;  // with large granularity only size 0 shrinks
  pages.Resize(5000);
  pages.Resize(1);
  EXPECT_EQ(pages.GetAlloc(), 8096);
}

TEST(HeapBufShrink, ZeroFreesUnlessKept)
{
  BASE_HeapBuf hb;
  hb.Resize(100);
  EXPECT_EQ(hb.Resize(0, false), nullptr);
  EXPECT_EQ(hb.GetSize(), 0);
  EXPECT_GT(hb.GetAlloc(), 0);
  EXPECT_EQ(hb.Resize(-5), nullptr) << "negative counts as 0";
  EXPECT_EQ(hb.GetAlloc(), 0);
  EXPECT_EQ(hb.Get(), nullptr);
}

TEST(HeapBufFailure, ImpossibleGrowthKeepsBufferAndSize)
{
  BASE_HeapBuf hb;
  char* p = static_cast<char*>(hb.Resize(16));
  std::memcpy(p, "fifteen chars!!", 16);
  EXPECT_EQ(hb.Resize(INT_MAX), nullptr);
  EXPECT_EQ(hb.GetSize(), 16);
  EXPECT_EQ(hb.Get(), p);
  EXPECT_STREQ(static_cast<char*>(hb.Get()), "fifteen chars!!");
}

TEST(TypedBuf, CountsElementsAndAppends)
{
  BASE_TypedBuf<double> tb;
  for (int i = 0; i < 1000; ++i) ASSERT_NE(tb.Add(i * 0.5), nullptr);
  EXPECT_EQ(tb.GetSize(), 1000);
  EXPECT_EQ(tb.Get()[999], 499.5);
  tb.Add(tb.Get()[0]);  // an element of the buffer itself, across growth
  EXPECT_EQ(tb.Get()[1000], 0.0);
  EXPECT_EQ(tb.Resize(INT_MAX / 4), nullptr) << "byte count beyond int is refused";
  EXPECT_EQ(tb.GetSize(), 1001);
}
