#include "framework/linux/LinuxScreenCopy.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

#include <X11/Xutil.h>

namespace {

// Errors of the attach request, caught instead of ending the program.
bool s_attachFailed = false;
int CatchAttachError(Display*, XErrorEvent*)
{
  s_attachFailed = true;
  return 0;
}

bool ThirtyTwoBitPixels(Display* d, int depth)
{
  int n = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(d, &n);
  bool found = false;
  for (int i = 0; i < n; ++i)
    if (formats[i].depth == depth) found = formats[i].bits_per_pixel == 32;
  if (formats) XFree(formats);
  return found;
}

// A channel of an 8-bit value placed under a visual's mask.
unsigned long Place(unsigned v, unsigned long mask)
{
  if (!mask) return 0;
  int shift = 0, bits = 0;
  while (!((mask >> shift) & 1)) ++shift;
  while ((mask >> (shift + bits)) & 1) ++bits;
  const unsigned long scaled = bits >= 8 ? (unsigned long)v << (bits - 8) : v >> (8 - bits);
  return (scaled << shift) & mask;
}

}  // namespace

LinuxScreenCopy::LinuxScreenCopy(Display* display, Window window, bool allowShm)
    : m_display(display), m_window(window), m_shmAllowed(allowShm)
{
  XWindowAttributes attr;
  if (!m_display || !m_window || !XGetWindowAttributes(m_display, m_window, &attr)) return;
  m_visual = attr.visual;
  m_depth = attr.depth;
  m_gc = XCreateGC(m_display, m_window, 0, nullptr);
  m_direct = m_visual->c_class == TrueColor && m_depth == 24 && m_visual->red_mask == 0xFF0000 &&
             m_visual->green_mask == 0xFF00 && m_visual->blue_mask == 0xFF &&
             ImageByteOrder(m_display) == LSBFirst && ThirtyTwoBitPixels(m_display, m_depth);
  int major = 0, minor = 0;
  Bool pixmaps = False;
  m_shmAllowed = m_shmAllowed && m_direct && XShmQueryVersion(m_display, &major, &minor, &pixmaps);
}

LinuxScreenCopy::~LinuxScreenCopy()
{
  ReleaseImage();
  if (m_gc) XFreeGC(m_display, m_gc);
}

void LinuxScreenCopy::WaitForServer()
{
  if (!m_shmPending) return;
  XSync(m_display, False);
  m_shmPending = false;
}

void LinuxScreenCopy::ReleaseImage()
{
  if (!m_image) return;
  if (m_shmAttached) {
    WaitForServer();
    XShmDetach(m_display, &m_shm);
    XSync(m_display, False);
    m_image->data = nullptr;
    XDestroyImage(m_image);
    shmdt(m_shm.shmaddr);
    m_shm = {};
    m_shmAttached = false;
  } else {
    XDestroyImage(m_image);  // frees the pixel memory too
  }
  m_image = nullptr;
  m_width = m_height = 0;
}

bool LinuxScreenCopy::AttachShm(int width, int height)
{
  XImage* image = XShmCreateImage(m_display, m_visual, m_depth, ZPixmap, nullptr, &m_shm, width, height);
  if (!image) return false;
  m_shm.shmid = shmget(IPC_PRIVATE, (size_t)image->bytes_per_line * height, IPC_CREAT | 0600);
  if (m_shm.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  m_shm.shmaddr = image->data = static_cast<char*>(shmat(m_shm.shmid, nullptr, 0));
  m_shm.readOnly = True;
  bool ok = m_shm.shmaddr != reinterpret_cast<char*>(-1);
  if (ok) {
    // A server that cannot reach this process's memory (a remote one)
    // answers the attach with an error; catch it and share nothing.
    XSync(m_display, False);
    s_attachFailed = false;
    XErrorHandler previous = XSetErrorHandler(CatchAttachError);
    XShmAttach(m_display, &m_shm);
    XSync(m_display, False);
    XSetErrorHandler(previous);
    ok = !s_attachFailed;
    if (!ok) shmdt(m_shm.shmaddr);
  }
  // Marked for removal now: it goes away when both sides have detached,
  // even if this process ends without cleaning up.
  shmctl(m_shm.shmid, IPC_RMID, nullptr);
  if (!ok) {
    image->data = nullptr;
    XDestroyImage(image);
    m_shm = {};
    return false;
  }
  m_image = image;
  m_shmAttached = true;
  return true;
}

bool LinuxScreenCopy::EnsureImage(int width, int height)
{
  if (m_image && m_width == width && m_height == height) return true;
  ReleaseImage();
  if (m_shmAllowed && !AttachShm(width, height)) m_shmAllowed = false;
  if (!m_image) {
    const int pad = 32;
    m_image = XCreateImage(m_display, m_visual, m_depth, ZPixmap, 0, nullptr, width, height, pad, 0);
    if (!m_image) return false;
    m_image->data = static_cast<char*>(std::calloc((size_t)m_image->bytes_per_line, (size_t)height));
    if (!m_image->data) {
      XDestroyImage(m_image);
      m_image = nullptr;
      return false;
    }
  }
  m_width = width;
  m_height = height;
  return true;
}

void LinuxScreenCopy::CopyRows(const unsigned char* bits, int rowBytes, int x, int y, int w, int h)
{
  if (m_direct) {
    for (int row = y; row < y + h; ++row)
      std::memcpy(m_image->data + (size_t)row * m_image->bytes_per_line + (size_t)x * 4,
                  bits + (size_t)row * rowBytes + (size_t)x * 4, (size_t)w * 4);
    return;
  }
  // Any other visual: each pixel placed under the visual's masks; bits
  // outside the colour masks (an alpha channel) are set, so it shows opaque.
  const unsigned long colourBits = m_visual->red_mask | m_visual->green_mask | m_visual->blue_mask;
  const unsigned long all = m_depth >= 32 ? 0xFFFFFFFFul : ((1ul << m_depth) - 1);
  for (int row = y; row < y + h; ++row) {
    const unsigned char* p = bits + (size_t)row * rowBytes + (size_t)x * 4;
    for (int col = x; col < x + w; ++col, p += 4) {
      const unsigned long v = Place(p[2], m_visual->red_mask) | Place(p[1], m_visual->green_mask) |
                              Place(p[0], m_visual->blue_mask) | (all & ~colourBits);
      XPutPixel(m_image, col, row, v);
    }
  }
}

bool LinuxScreenCopy::Put(const void* bits, int width, int height, int rowBytes, int x, int y, int w, int h)
{
  if (!m_gc || !bits || width <= 0 || height <= 0 || rowBytes < width * 4) return false;
  if (m_visual->c_class != TrueColor && m_visual->c_class != DirectColor) return false;
  // Clip the part to the bitmap.
  if (x < 0) w += x, x = 0;
  if (y < 0) h += y, y = 0;
  if (w > width - x) w = width - x;
  if (h > height - y) h = height - y;
  if (w <= 0 || h <= 0) return false;
  if (!EnsureImage(width, height)) return false;
  WaitForServer();
  CopyRows(static_cast<const unsigned char*>(bits), rowBytes, x, y, w, h);
  if (m_shmAttached) {
    XShmPutImage(m_display, m_window, m_gc, m_image, x, y, x, y, w, h, False);
    m_shmPending = true;
  } else {
    XPutImage(m_display, m_window, m_gc, m_image, x, y, x, y, w, h);
  }
  XFlush(m_display);
  return true;
}
