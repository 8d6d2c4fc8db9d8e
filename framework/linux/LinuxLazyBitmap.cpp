#include "framework/linux/LinuxLazyBitmap.h"

LinuxLazyBitmap::LinuxLazyBitmap(const LinuxImageSource& source)
    : m_width(source.width), m_height(source.height)
{
  m_source.path.Set(source.path.Get());
  m_source.builtIn = source.builtIn;
  m_source.width = source.width;
  m_source.height = source.height;
}

LinuxLazyBitmap::~LinuxLazyBitmap() { delete m_pixels; }

PIX_IBitmap* LinuxLazyBitmap::Pixels()
{
  if (m_tried.load(std::memory_order_acquire)) return m_pixels;
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_tried.load(std::memory_order_relaxed)) {
    PIX_IBitmap* decoded = LinuxDecodeImage(m_source);
    if (decoded &&
        (decoded->getWidth() != m_width || decoded->getHeight() != m_height || !decoded->getBits())) {
      delete decoded;
      decoded = nullptr;
    }
    m_pixels = decoded;
    m_tried.store(true, std::memory_order_release);
  }
  return m_pixels;
}

PIX_pixel* LinuxLazyBitmap::getBits()
{
  PIX_IBitmap* pixels = Pixels();
  return pixels ? pixels->getBits() : nullptr;
}

int LinuxLazyBitmap::getRowSpan()
{
  PIX_IBitmap* pixels = Pixels();
  return pixels ? pixels->getRowSpan() : m_width;
}
