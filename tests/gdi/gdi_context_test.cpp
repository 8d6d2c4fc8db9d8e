// Memory contexts, colours, clipping and the record pools.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "gdi/gdi-pool.h"
#include "gdi/gdi.h"

namespace {

uint32_t PixelAt(HDC ctx, int width, int x, int y)
{
  return static_cast<const uint32_t*>(GDI_GetCtxFrameBuffer(ctx))[y * width + x];
}

TEST(GdiMemContext, BufferIsAlignedZeroedAndTopDown)
{
  HDC ctx = GDI_CreateMemContext(nullptr, 13, 7);
  ASSERT_NE(ctx, nullptr);
  const unsigned char* bits = static_cast<const unsigned char*>(GDI_GetCtxFrameBuffer(ctx));
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bits) % 64, 0u);
  for (int i = 0; i < 13 * 7 * 4; ++i) ASSERT_EQ(bits[i], 0) << i;

  // A red brush over row 2, columns 3..4: bytes blue, green, red, with a
  // stride of exactly width x 4 and row 0 at the top.
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r = {3, 2, 5, 3};
  GDI_FillRect(ctx, &r, red);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) {
      const bool inside = y == 2 && (x == 3 || x == 4);
      EXPECT_EQ(PixelAt(ctx, 13, x, y) & 0xFFFFFF, inside ? 0xFF0000u : 0u) << x << "," << y;
    }
  DeleteObject(red);
  GDI_DeleteGfxContext(ctx);
}

TEST(GdiMemContext, InvalidSizesGiveNull)
{
  EXPECT_EQ(GDI_CreateMemContext(nullptr, 0, 10), nullptr);
  EXPECT_EQ(GDI_CreateMemContext(nullptr, 10, -1), nullptr);
  EXPECT_EQ(GDI_CreateMemContext(nullptr, 0x40000000, 1), nullptr);
}

TEST(GdiMemContext, ReleasedContextIgnoresEveryCall)
{
  HDC ctx = GDI_CreateMemContext(nullptr, 4, 4);
  ASSERT_NE(ctx, nullptr);
  SetTextColor(ctx, RGB(1, 2, 3));
  EXPECT_EQ(GetTextColor(ctx), RGB(1, 2, 3));
  GDI_DeleteGfxContext(ctx);
  // The record waits in the pool with its released marker set.
  EXPECT_EQ(GetTextColor(ctx), -1);
  EXPECT_EQ(GDI_GetCtxFrameBuffer(ctx), nullptr);
  EXPECT_EQ(SetTextColor(ctx, 5), 0);
  EXPECT_EQ(SetBkMode(ctx, 1), 0);
  GDI_DeleteGfxContext(ctx);  // a second delete is harmless
  EXPECT_EQ(GetTextColor(nullptr), -1);
}

TEST(GdiMemContext, ColoursAndModesReturnPreviousValues)
{
  HDC ctx = GDI_CreateMemContext(nullptr, 4, 4);
  EXPECT_EQ(GetTextColor(ctx), 0);
  EXPECT_EQ(SetTextColor(ctx, RGB(10, 20, 30)), 0);
  EXPECT_EQ(SetTextColor(ctx, 0), RGB(10, 20, 30));
  EXPECT_EQ(SetBkColor(ctx, 0x123456), 0);
  EXPECT_EQ(SetBkColor(ctx, 0), 0x123456);
  EXPECT_EQ(SetBkMode(ctx, OPAQUE), TRANSPARENT);
  EXPECT_EQ(SetBkMode(ctx, TRANSPARENT), OPAQUE);
  GDI_DeleteGfxContext(ctx);
}

TEST(GdiMemContext, ClipStackLimitsAndRestores)
{
  HDC ctx = GDI_CreateMemContext(nullptr, 8, 1);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  RECT all = {0, 0, 8, 1};
  RECT clip = {2, 0, 4, 1};
  GDI_PushClipRegion(ctx);
  GDI_SetClipRegion(ctx, &clip);
  GDI_FillRect(ctx, &all, white);
  GDI_PopClipRegion(ctx);
  for (int x = 0; x < 8; ++x)
    EXPECT_EQ(PixelAt(ctx, 8, x, 0) & 0xFFFFFF, (x == 2 || x == 3) ? 0xFFFFFFu : 0u);
  // After the pop the whole context is drawable again.
  GDI_FillRect(ctx, &all, white);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(ctx, 8, x, 0) & 0xFFFFFF, 0xFFFFFFu);
  DeleteObject(white);
  GDI_DeleteGfxContext(ctx);
}

TEST(GdiPools, ReleasedRecordsAreReusedUpToTheLimit)
{
  HDC contexts[GDI_MAX_POOLED_CONTEXTS + 20];
  for (HDC& c : contexts) c = GDI_CreateMemContext(nullptr, 2, 2);
  for (HDC c : contexts) GDI_DeleteGfxContext(c);
  EXPECT_EQ(GDI_PooledContextCount(), GDI_MAX_POOLED_CONTEXTS);
  HDC again = GDI_CreateMemContext(nullptr, 2, 2);
  EXPECT_EQ(GDI_PooledContextCount(), GDI_MAX_POOLED_CONTEXTS - 1);
  EXPECT_EQ(GetTextColor(again), 0);  // a reused record is live again
  GDI_DeleteGfxContext(again);

  HGDIOBJ objects[GDI_MAX_POOLED_OBJECTS + 20];
  for (HGDIOBJ& o : objects) o = CreateSolidBrush(0);
  for (HGDIOBJ o : objects) DeleteObject(o);
  EXPECT_EQ(GDI_PooledObjectCount(), GDI_MAX_POOLED_OBJECTS);
}

TEST(GdiWindowContexts, WrapACallersCairoContext)
{
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 4, 4);
  cairo_t* cr = cairo_create(surface);
  HDC ctx = GDI_CreateGfxContext(cr);
  ASSERT_NE(ctx, nullptr);
  EXPECT_EQ(GDI_GetCtxGC(ctx), cr);
  EXPECT_EQ(GDI_GetCtxFrameBuffer(ctx), nullptr);  // not a memory context
  EXPECT_FALSE(GDI_IsRetinaDC(ctx));
  ReleaseDC(nullptr, ctx);
  cairo_destroy(cr);  // the context held its own reference
  cairo_surface_destroy(surface);
  EXPECT_EQ(GetDC(nullptr), nullptr);
}

}  // namespace

namespace {

// Runs last in its own process under ctest; run alone elsewhere it still
// leaves the layer working.
TEST(GdiUnload, PoolsAreFreedAndReleasesThenFreeDirectly)
{
  HDC ctx = GDI_CreateMemContext(nullptr, 2, 2);
  HBRUSH brush = CreateSolidBrush(0);
  GDI_DeleteGfxContext(ctx);
  DeleteObject(brush);
  EXPECT_GT(GDI_PooledContextCount(), 0);
  GDI_FreePools();
  EXPECT_EQ(GDI_PooledContextCount(), 0);
  EXPECT_EQ(GDI_PooledObjectCount(), 0);
  GDI_FreePools();  // twice is harmless
  // Objects released during teardown are freed at once.
  ctx = GDI_CreateMemContext(nullptr, 2, 2);
  HFONT font = CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
  ASSERT_NE(ctx, nullptr);
  ASSERT_NE(font, nullptr);
  DeleteObject(font);
  GDI_DeleteGfxContext(ctx);
  EXPECT_EQ(GDI_PooledContextCount(), 0);
}

}  // namespace
