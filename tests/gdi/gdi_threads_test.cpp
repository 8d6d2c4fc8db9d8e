// Contexts and fonts created, used and deleted from several threads at once.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "gdi/gdi.h"

namespace {

TEST(GdiThreads, ContextsAndFontsFromManyThreads)
{
  std::atomic<int> failures{0};
  auto work = [&failures](int seed) {
    for (int i = 0; i < 60; ++i) {
      HDC ctx = GDI_CreateMemContext(nullptr, 32 + seed, 16);
      HFONT font = CreateFont(10 + (i + seed) % 8, 0, 0, 0, (i & 1) ? FW_BOLD : FW_NORMAL, char(i & 2), 0, 0,
                              0, 0, 0, 0, 0, (i % 3) ? "DejaVu Sans" : "Monaco");
      HBRUSH brush = CreateSolidBrush(RGB(i, seed, 0));
      HGDIOBJ clone = GDI_CloneGDIObject(brush);
      if (!ctx || !font || !brush || clone != brush) ++failures;
      SelectObject(ctx, font);
      SetTextColor(ctx, RGB(255, 255, 255));
      RECT r = {0, 0, 32, 16};
      if (GDI_DrawText(ctx, "-30.00", -1, &r, DT_SINGLELINE | DT_CENTER) <= 0) ++failures;
      SelectObject(ctx, GDI_DESELECT_FONT);
      DeleteObject(font);
      DeleteObject(brush);
      DeleteObject(brush);
      GDI_DeleteGfxContext(ctx);
    }
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) threads.emplace_back(work, t);
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
