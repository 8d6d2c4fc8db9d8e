#include "pix/pix_sysbitmap.h"

#include "gdi/gdi.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// The one place where a system bitmap's storage is made: a GDI memory drawing
// context of rowspan x height pixels, zero-filled, bits 64-byte aligned, row 0
// at the top. The context is the storage handle, so native text can draw
// into the bitmap through getDC.
namespace {
void* CreateStorage(int rowspan, int height) { return GDI_CreateMemContext(nullptr, rowspan, height); }
PIX_pixel* StorageBits(void* storage)
{
  return static_cast<PIX_pixel*>(GDI_GetCtxFrameBuffer(static_cast<HDC>(storage)));
}
HDC StorageDC(void* storage) { return static_cast<HDC>(storage); }
void DeleteStorage(void* storage) { GDI_DeleteGfxContext(static_cast<HDC>(storage)); }
}  // namespace

PIX_SysBitmap::PIX_SysBitmap(int w, int h)
    : m_width(0), m_height(0), m_dc(nullptr), m_bits(nullptr), m_rowspan(0), m_allocheight(0),
      m_storage(nullptr)
{
  resize(w, h);
}

PIX_SysBitmap::~PIX_SysBitmap() { DeleteStorage(m_storage); }

bool PIX_SysBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;
  if (w && h && m_rowspan >= w && m_allocheight >= h && m_bits) return true;

  m_rowspan = (int)(((int64_t)w + 3) & ~(int64_t)3);
  m_allocheight = h;
  DeleteStorage(m_storage);
  m_storage = nullptr;
  m_dc = nullptr;
  m_bits = nullptr;
  if (h <= 0 || w < 1 || w > 2147483644) {
    // Nothing to draw into: report the bitmap empty rather than keep a size
    // without storage.
    m_width = m_height = 0;
    m_rowspan = 0;
    m_allocheight = 0;
    return false;
  }
  // A byte count that does not fit an int is refused before any storage is
  // asked for, so no size computation can wrap round to a small buffer.
  const int64_t bytes = (int64_t)m_rowspan * h * 4;
  if (bytes <= INT_MAX - 63) m_storage = CreateStorage(m_rowspan, h);
  if (!m_storage) {
    m_width = m_height = 0;
    return true;
  }
  m_bits = StorageBits(m_storage);
  m_dc = StorageDC(m_storage);
  return true;
}
