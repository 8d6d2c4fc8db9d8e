#pragma once
// The layout of one level of a popup menu: a row per item from the top,
// each with its title (the menu's number prefix and the item's text), its
// place, its marks, and whether it can be chosen; and the rules of moving
// through the rows with the keyboard.
//
// Row geometry, in the level's own window: a one-pixel border all round;
// item rows of the line height plus padding; separator rows of fixed
// height; a column for check marks on the left, indented items shifted
// further right, and a column for the submenu arrow on the right.
//
// Threads: a plain value of the editor's thread.

#include <cstdio>
#include <string>
#include <vector>

#include "framework/editor/IPopupMenu.h"

struct LinuxMenuRow {
  std::string title;  // "" for a separator
  int top = 0, height = 0;
  bool separator = false;
  bool enabled = true;
  bool checked = false;
  bool indented = false;
  IPopupMenu* submenu = nullptr;
};

class LinuxMenuLayout {
public:
  enum {
    kBorder = 1,
    kRowPadding = 6,  // added to the line height of an item row
    kSeparatorHeight = 7,
    kCheckColumn = 20,  // left of the text: room for the check mark
    kIndent = 12,       // further left margin of an indented item
    kArrowColumn = 18,  // right of the text: room for the submenu arrow
    kMinWidth = 60,
  };

  // Lays the menu out; measure(title) answers a title's width in pixels.
  template <class Measure>
  void Build(const IPopupMenu* menu, int lineHeight, Measure measure)
  {
    m_rows.clear();
    int textWidth = 0;
    int y = kBorder;
    for (int i = 0; menu && i < menu->GetNItems(); ++i) {
      const IPopupMenuItem* item = menu->GetItem(i);
      LinuxMenuRow row;
      row.separator = item->GetIsSeparator();
      row.enabled = item->GetEnabled();
      row.checked = item->GetChecked();
      row.indented = item->GetIndented();
      row.submenu = item->GetSubmenu();
      row.top = y;
      row.height = row.separator ? static_cast<int>(kSeparatorHeight) : lineHeight + kRowPadding;
      if (!row.separator) {
        row.title = Title(menu, i);
        const int w = measure(row.title.c_str()) + (row.indented ? kIndent : 0);
        if (w > textWidth) textWidth = w;
      }
      y += row.height;
      m_rows.push_back(row);
    }
    m_height = y + kBorder;
    m_width = 2 * kBorder + kCheckColumn + textWidth + kArrowColumn;
    if (m_width < kMinWidth) m_width = kMinWidth;
  }

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int NRows() const { return static_cast<int>(m_rows.size()); }
  // Null outside the rows.
  const LinuxMenuRow* Row(int i) const { return i >= 0 && i < NRows() ? &m_rows[i] : nullptr; }

  // The row under (x, y) of the level's window; -1 on the border, outside
  // the window or when there are no rows.
  int RowAt(int x, int y) const;
  // Rows that can be highlighted: enabled items, not separators.
  bool Selectable(int row) const;
  // The next selectable row from row `from` in direction step (+1 down,
  // -1 up), wrapping round; from -1 starts before the first row (or after
  // the last, going up). -1 when no row is selectable.
  int Next(int from, int step) const;

  // The text a menu shows for item i: the number prefix of the menu's
  // prefix style ("%1d: ", "%02d: ", "%03d: " of i + 1) and the item's text.
  static std::string Title(const IPopupMenu* menu, int i);

  // Where a w x h menu window goes on a screen of screenW x screenH: its
  // top-left corner at (x, y) below the rectangle it belongs to, moved
  // left to stay on the screen, and placed to end at aboveY (the top of
  // that rectangle) when it does not fit below. Never off the top or left.
  static void PlaceBelow(int w, int h, int x, int y, int aboveY, int screenW, int screenH, int* outX,
                         int* outY);
  // Where a w x h submenu goes beside its parent level (parentX, parentW)
  // with its first row level with the parent's row at rowY: to the right,
  // or to the left when the right has no room; moved up to stay on the
  // screen.
  static void PlaceBeside(int w, int h, int parentX, int parentW, int rowY, int screenW, int screenH,
                          int* outX, int* outY);

private:
  std::vector<LinuxMenuRow> m_rows;
  int m_width = kMinWidth;
  int m_height = 2 * kBorder;
};
