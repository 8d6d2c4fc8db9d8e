#include "framework/editor/IPopupMenu.h"

IPopupMenuItem::IPopupMenuItem(const char* text, int flags) : mText(text), mFlags(flags) {}

IPopupMenuItem::IPopupMenuItem(const char* text, IPopupMenu* submenu) : mText(text), mSubmenu(submenu) {}

IPopupMenu::~IPopupMenu() { mItems.Empty(true); }

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* item, int index)
{
  if (!item) return nullptr;
  const int n = mItems.GetSize();
  const bool stored = index == -1 || index >= n ? mItems.Add(item) != nullptr
                                                : mItems.Insert(index < 0 ? 0 : index, item) != nullptr;
  if (stored) return item;
  delete item;
  return nullptr;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, int flags)
{
  return AddItem(new IPopupMenuItem(text, flags), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu)
{
  return AddItem(new IPopupMenuItem(text, submenu), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, IPopupMenu* submenu)
{
  return AddItem(text, -1, submenu);
}

IPopupMenuItem* IPopupMenu::AddSeparator(int index)
{
  return AddItem(new IPopupMenuItem("", IPopupMenuItem::kSeparator), index);
}

void IPopupMenu::SetPrefix(int prefix)
{
  if (prefix >= 0 && prefix <= 3) mPrefix = prefix;
}

const char* IPopupMenu::GetItemText(int idx) const
{
  const IPopupMenuItem* item = GetItem(idx);
  return item ? item->GetText() : "";
}

bool IPopupMenu::CheckItem(int idx, bool checked)
{
  IPopupMenuItem* item = GetItem(idx);
  if (!item) return false;
  item->SetChecked(checked);
  return true;
}

void IPopupMenu::CheckItemAlone(int idx)
{
  for (int i = 0; i < mItems.GetSize(); ++i) mItems.Get(i)->SetChecked(i == idx);
}

bool IPopupMenu::IsItemChecked(int idx) const
{
  const IPopupMenuItem* item = GetItem(idx);
  return item && item->GetChecked();
}
