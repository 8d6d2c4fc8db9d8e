// Object selection, deletion with reference counts, stock objects, images.

#include <gtest/gtest.h>

#include <cstdint>

#include "gdi/gdi.h"

namespace {

class GdiObjects : public ::testing::Test {
protected:
  void SetUp() override { ctx = GDI_CreateMemContext(nullptr, 16, 16); }
  void TearDown() override { GDI_DeleteGfxContext(ctx); }
  HDC ctx = nullptr;
};

TEST_F(GdiObjects, SelectReturnsPreviousOrTypeNumber)
{
  HFONT a = CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
  HFONT b = CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_EQ(SelectObject(ctx, a), reinterpret_cast<HGDIOBJ>(GDI_OBJ_FONT));
  EXPECT_EQ(SelectObject(ctx, a), a);  // already selected
  EXPECT_EQ(SelectObject(ctx, b), a);
  EXPECT_EQ(SelectObject(ctx, pen), reinterpret_cast<HGDIOBJ>(GDI_OBJ_PEN));
  // Pseudo-handle 3 deselects the font and hands it back; with the slot
  // empty it returns itself.
  EXPECT_EQ(SelectObject(ctx, GDI_DESELECT_FONT), b);
  EXPECT_EQ(SelectObject(ctx, GDI_DESELECT_FONT), GDI_DESELECT_FONT);
  EXPECT_EQ(SelectObject(ctx, GDI_DESELECT_PEN), pen);
  EXPECT_EQ(SelectObject(ctx, GDI_DESELECT_BRUSH), GDI_DESELECT_BRUSH);
  EXPECT_EQ(SelectObject(nullptr, a), nullptr);
  EXPECT_EQ(SelectObject(ctx, nullptr), nullptr);
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(pen);
}

TEST_F(GdiObjects, ClonedObjectNeedsOneDeletionPerClone)
{
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(GDI_CloneGDIObject(brush), brush);
  DeleteObject(brush);  // only lowers the count
  EXPECT_NE(SelectObject(ctx, brush), nullptr);
  SelectObject(ctx, GDI_DESELECT_BRUSH);
  DeleteObject(brush);  // frees it: the record is released
  EXPECT_EQ(SelectObject(ctx, brush), nullptr);
  DeleteObject(brush);  // harmless on a released record
}

TEST_F(GdiObjects, StockObjectsAndPseudoHandlesSurviveDeletion)
{
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  ASSERT_NE(white, nullptr);
  DeleteObject(white);
  DeleteObject(GDI_DESELECT_FONT);
  RECT r = {0, 0, 1, 1};
  GDI_FillRect(ctx, &r, white);
  EXPECT_EQ(static_cast<const uint32_t*>(GDI_GetCtxFrameBuffer(ctx))[0] & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(GDI_STOCK_COUNT), nullptr);
}

TEST_F(GdiObjects, SelectedPenAndBrushDrawShapes)
{
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(ctx, blue);
  SelectObject(ctx, GetStockObject(NULL_PEN));
  Rectangle(ctx, 2, 2, 10, 10);
  const uint32_t* px = static_cast<const uint32_t*>(GDI_GetCtxFrameBuffer(ctx));
  EXPECT_EQ(px[5 * 16 + 5] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(px[0] & 0xFFFFFF, 0u);
  SelectObject(ctx, GDI_DESELECT_BRUSH);
  DeleteObject(blue);
}

TEST_F(GdiObjects, BitmapsCopyAndImageListsOwnTheirCopies)
{
  const uint32_t pixels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  HBITMAP bmp = CreateBitmap(2, 2, 1, 32, pixels);
  ASSERT_NE(bmp, nullptr);
  BITMAP info = {0, 0};
  EXPECT_EQ(GetObject(bmp, sizeof(info), &info), int(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmHeight, 2);
  RECT r = {0, 0, 2, 2};
  DrawImageInRect(ctx, bmp, &r);
  const uint32_t* px = static_cast<const uint32_t*>(GDI_GetCtxFrameBuffer(ctx));
  EXPECT_EQ(px[0] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(px[16 + 1] & 0xFFFFFF, 0xFFFFFFu);

  HDC copy = GDI_CreateMemContext(nullptr, 16, 16);
  BitBlt(copy, 4, 4, 2, 2, ctx, 0, 0, SRCCOPY);
  EXPECT_EQ(static_cast<const uint32_t*>(GDI_GetCtxFrameBuffer(copy))[4 * 16 + 5] & 0xFFFFFF, 0x00FF00u);
  GDI_DeleteGfxContext(copy);

  HIMAGELIST list = ImageList_CreateEx();
  EXPECT_EQ(ImageList_Add(list, bmp, nullptr), 0);
  ICONINFO ii = {true, 0, 0, nullptr, bmp};
  HICON icon = CreateIconIndirect(&ii);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), 1);
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_FALSE(ImageList_Remove(list, 5));
  DeleteObject(bmp);  // the list keeps its own references
  ImageList_Destroy(list);
  DeleteObject(icon);
}

}  // namespace
