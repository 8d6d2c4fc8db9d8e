#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "base/mutex.h"

TEST(Mutex, RecursiveOwnershipBlocksOthersUntilFullyReleased)
{
  BASE_Mutex m;
  std::atomic<bool> acquired{false};
  m.Enter();
  m.Enter();  // the same thread nests
  m.Leave();
  std::thread other([&] {
    BASE_MutexLock lock(m);
    acquired = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(acquired) << "one level of ownership is still held";
  m.Leave();
  other.join();
  EXPECT_TRUE(acquired);
}

TEST(Mutex, ScopeLockReleasesOnEveryExit)
{
  BASE_Mutex m;
  auto early = [&](bool leave) {
    BASE_MutexLock lock(m);
    if (leave) return 1;
    return 2;
  };
  early(true);
  early(false);
  std::atomic<int> counter{0};
  std::thread t([&] {
    for (int i = 0; i < 1000; ++i) {
      BASE_MutexLock lock(m);
      counter++;
    }
  });
  t.join();
  EXPECT_EQ(counter, 1000);
}
