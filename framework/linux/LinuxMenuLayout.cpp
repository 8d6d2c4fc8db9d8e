#include "framework/linux/LinuxMenuLayout.h"

int LinuxMenuLayout::RowAt(int x, int y) const
{
  if (x < kBorder || x >= m_width - kBorder) return -1;
  for (int i = 0; i < NRows(); ++i)
    if (y >= m_rows[i].top && y < m_rows[i].top + m_rows[i].height) return i;
  return -1;
}

bool LinuxMenuLayout::Selectable(int row) const
{
  const LinuxMenuRow* r = Row(row);
  return r && !r->separator && r->enabled;
}

int LinuxMenuLayout::Next(int from, int step) const
{
  const int n = NRows();
  if (n == 0) return -1;
  int i = from;
  if (i < 0 || i >= n) i = step > 0 ? -1 : n;
  for (int tries = 0; tries < n; ++tries) {
    i = ((i + (step > 0 ? 1 : -1)) % n + n) % n;
    if (Selectable(i)) return i;
  }
  return -1;
}

std::string LinuxMenuLayout::Title(const IPopupMenu* menu, int i)
{
  const IPopupMenuItem* item = menu ? menu->GetItem(i) : nullptr;
  if (!item) return "";
  static const char* const kFormats[] = {"", "%1d: ", "%02d: ", "%03d: "};
  const int prefix = menu->GetPrefix();
  char number[32] = "";
  if (prefix >= 1 && prefix <= 3) std::snprintf(number, sizeof number, kFormats[prefix], i + 1);
  return std::string(number) + item->GetText();
}

namespace {

int KeepOn(int v, int size, int screen)
{
  if (v + size > screen) v = screen - size;
  return v < 0 ? 0 : v;
}

}  // namespace

void LinuxMenuLayout::PlaceBelow(int w, int h, int x, int y, int aboveY, int screenW, int screenH, int* outX,
                                 int* outY)
{
  *outX = KeepOn(x, w, screenW);
  if (y + h > screenH && aboveY - h >= 0) y = aboveY - h;
  *outY = KeepOn(y, h, screenH);
}

void LinuxMenuLayout::PlaceBeside(int w, int h, int parentX, int parentW, int rowY, int screenW, int screenH,
                                  int* outX, int* outY)
{
  // The submenu overlaps its parent by its border, so the two read as one.
  int x = parentX + parentW - kBorder;
  if (x + w > screenW && parentX + kBorder - w >= 0) x = parentX + kBorder - w;
  *outX = KeepOn(x, w, screenW);
  *outY = KeepOn(rowY - kBorder, h, screenH);
}
