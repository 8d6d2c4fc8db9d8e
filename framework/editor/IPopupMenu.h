#pragma once
// A platform-neutral popup menu: the editor builds it, the platform shows
// it at a rectangle (IGraphics::CreateIPopupMenu) and stores the index of
// the item the user chose, and the editor reads that back.
//
// Index rule of every add operation that takes an index: -1 appends, any
// other negative index counts as 0, an index at or past the end appends,
// and the items from the index on move up by one.
//
// Threads: a menu is built, shown and read on the editor's thread; it has
// no lock.

#include "base/ptrlist.h"
#include "base/string.h"

class IPopupMenu;

class IPopupMenuItem {
public:
  enum EFlags {
    kNoFlags = 0,
    kDisabled = 1,   // shown greyed, cannot be chosen
    kIndented = 2,   // shown one level indented
    kChecked = 4,    // shown with a check mark
    kSeparator = 8,  // a separator line; its text is empty
  };

  // A null text gives an empty one. The submenu is not owned by the item.
  explicit IPopupMenuItem(const char* text, int flags = kNoFlags);
  IPopupMenuItem(const char* text, IPopupMenu* submenu);

  const char* GetText() const { return mText.Get(); }
  void SetText(const char* text) { mText.Set(text ? text : ""); }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }
  int GetFlags() const { return mFlags; }
  bool GetEnabled() const { return !(mFlags & kDisabled); }
  bool GetIndented() const { return (mFlags & kIndented) != 0; }
  bool GetChecked() const { return (mFlags & kChecked) != 0; }
  bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }
  void SetChecked(bool checked) { SetFlag(kChecked, checked); }
  void SetEnabled(bool enabled) { SetFlag(kDisabled, !enabled); }

private:
  void SetFlag(int flag, bool on) { mFlags = on ? (mFlags | flag) : (mFlags & ~flag); }

  BASE_String mText;
  IPopupMenu* mSubmenu = nullptr;
  int mFlags = kNoFlags;
};

class IPopupMenu {
public:
  IPopupMenu() {}
  // Deletes every item, from the last to the first; submenus stay with
  // whoever built them.
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // Each returns the stored item, or null when it could not be stored (a
  // null item, or no memory; an item the menu could not keep is deleted).
  IPopupMenuItem* AddItem(IPopupMenuItem* item, int index = -1);  // takes ownership
  IPopupMenuItem* AddItem(const char* text, int index = -1, int flags = IPopupMenuItem::kNoFlags);
  IPopupMenuItem* AddItem(const char* text, int index, IPopupMenu* submenu);
  IPopupMenuItem* AddItem(const char* text, IPopupMenu* submenu);  // always appends
  IPopupMenuItem* AddSeparator(int index = -1);

  // How item numbers precede the texts: 0 none, 1 "%1d: ", 2 "%02d: ",
  // 3 "%03d: " of the position counted from 1. Other values are ignored.
  void SetPrefix(int prefix);
  int GetPrefix() const { return mPrefix; }

  // The platform stores the user's choice; -1 until then.
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int idx) { mChosenItemIdx = idx; }

  int GetNItems() const { return mItems.GetSize(); }
  // Null outside 0 .. count - 1.
  IPopupMenuItem* GetItem(int idx) const { return mItems.Get(idx); }
  // "" outside 0 .. count - 1.
  const char* GetItemText(int idx) const;
  // False (nothing changed) when there is no such item.
  bool CheckItem(int idx, bool checked);
  // Checks item idx and clears the check of every other item.
  void CheckItemAlone(int idx);
  bool IsItemChecked(int idx) const;

private:
  BASE_PtrList<IPopupMenuItem> mItems;
  int mPrefix = 0;
  int mChosenItemIdx = -1;
};
