#pragma once
// An editor image that knows its size at once (from the PNG header) and
// decodes its pixels when they are first asked for. A plug-in builds its
// editor in its constructor, which hosts also run when they only scan
// plug-ins; with these bitmaps that costs a header read per image and no
// decoding.
//
// Threads: the size may be read on any thread. The first request for the
// pixels (getBits, getRowSpan) decodes under the bitmap's own mutex, so
// editors of several plug-in instances, which share the bitmap through the
// process-wide cache, may ask at the same time; later requests take no
// lock. Drawing into the pixels follows the bitmap rule: one thread at a
// time (the editor's).

#include <atomic>
#include <mutex>

#include "framework/linux/LinuxResources.h"
#include "pix/pix_bitmap.h"

class LinuxLazyBitmap : public PIX_IBitmap {
public:
  // source: where the image was found (LinuxFindImage), with its size.
  explicit LinuxLazyBitmap(const LinuxImageSource& source);
  ~LinuxLazyBitmap() override;
  LinuxLazyBitmap(const LinuxLazyBitmap&) = delete;
  LinuxLazyBitmap& operator=(const LinuxLazyBitmap&) = delete;

  // Null when the image does not decode, or decodes to another size than
  // its header promised (the file changed meanwhile): it then draws as
  // nothing, and never reads beyond its pixels.
  PIX_pixel* getBits() override;
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  // The decoded pixels' row span; the width when there are none.
  int getRowSpan() override;
  // The size is fixed: false, nothing changed.
  bool resize(int, int) override { return false; }

  // True once a decode was tried.
  bool Decoded() const { return m_tried.load(std::memory_order_acquire); }

private:
  PIX_IBitmap* Pixels();

  LinuxImageSource m_source;
  int m_width, m_height;
  std::mutex m_lock;
  std::atomic<bool> m_tried{false};
  PIX_IBitmap* m_pixels = nullptr;  // written once, under m_lock, before m_tried
};
