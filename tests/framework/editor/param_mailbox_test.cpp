// The parameter mailbox between host threads and the editor's thread.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "framework/editor/IParamMailbox.h"

namespace {

std::vector<std::pair<int, double>> TakeAll(IParamMailbox* box)
{
  std::vector<std::pair<int, double>> taken;
  box->Take([&](int idx, double value) { taken.push_back({idx, value}); });
  return taken;
}

TEST(IParamMailboxTest, TheNewestValueOfEachParameterIsTakenOnce)
{
  IParamMailbox box;
  box.Resize(4);
  EXPECT_TRUE(TakeAll(&box).empty());
  EXPECT_TRUE(box.Post(2, 0.25));
  EXPECT_TRUE(box.Post(0, 0.5));
  EXPECT_TRUE(box.Post(2, 0.75));
  EXPECT_EQ(TakeAll(&box), (std::vector<std::pair<int, double>>{{0, 0.5}, {2, 0.75}}));
  EXPECT_TRUE(TakeAll(&box).empty());
  // Re-posting an equal value still reaches the editor.
  box.Post(2, 0.75);
  EXPECT_EQ(TakeAll(&box).size(), 1u);
}

TEST(IParamMailboxTest, IndexesOutsideTheSlotsAreRefused)
{
  IParamMailbox box;
  EXPECT_FALSE(box.Post(0, 1.0));
  box.Resize(2);
  EXPECT_FALSE(box.Post(-1, 1.0));
  EXPECT_FALSE(box.Post(2, 1.0));
  EXPECT_TRUE(TakeAll(&box).empty());
  box.Resize(-5);
  EXPECT_EQ(box.Size(), 0);
}

// A host thread posts a rising series while the editor's thread keeps
// taking: the editor sees values only rise, and after the last post it
// ends on the last value.
TEST(IParamMailboxTest, ConcurrentPostsAreNeverLostOrReordered)
{
  const int kPosts = 20000;
  IParamMailbox box;
  box.Resize(2);
  std::atomic<bool> done{false};
  std::thread host([&] {
    for (int i = 1; i <= kPosts; ++i) {
      box.Post(0, i);
      box.Post(1, -i);
    }
    done = true;
  });
  double last0 = 0.0, last1 = 0.0;
  bool ordered = true;
  auto take = [&](int idx, double value) {
    if (idx == 0) {
      ordered = ordered && value >= last0;
      last0 = value;
    } else {
      ordered = ordered && value <= last1;
      last1 = value;
    }
  };
  while (!done) box.Take(take);
  host.join();
  box.Take(take);
  EXPECT_TRUE(ordered);
  EXPECT_EQ(last0, kPosts);
  EXPECT_EQ(last1, -kPosts);
}

}  // namespace
