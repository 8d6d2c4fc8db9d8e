// Popup menus: where items go, prefixes, checks and the items' flags.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/editor/IPopupMenu.h"

namespace {

std::vector<std::string> Texts(const IPopupMenu& menu)
{
  std::vector<std::string> texts;
  for (int i = 0; i < menu.GetNItems(); ++i) texts.push_back(menu.GetItemText(i));
  return texts;
}

IPopupMenu* ThreeItems(IPopupMenu* menu)
{
  menu->AddItem("a");
  menu->AddItem("b");
  menu->AddItem("c");
  return menu;
}

TEST(IPopupMenuTest, InsertionRule)
{
  IPopupMenu menu;
  ThreeItems(&menu);
  EXPECT_EQ(Texts(menu), (std::vector<std::string>{"a", "b", "c"}));
  menu.AddItem("first", 0);
  EXPECT_EQ(Texts(menu), (std::vector<std::string>{"first", "a", "b", "c"}));
  menu.AddItem("last", 10);
  menu.AddItem("appended", -1);
  menu.AddItem("negative", -7);  // counts as 0
  menu.AddItem("middle", 2);
  EXPECT_EQ(Texts(menu),
            (std::vector<std::string>{"negative", "first", "middle", "a", "b", "c", "last", "appended"}));
  menu.AddItem("end", menu.GetNItems());
  EXPECT_EQ(menu.GetItemText(menu.GetNItems() - 1), std::string("end"));
}

TEST(IPopupMenuTest, ItemsMadeFromTextsSubmenusAndSeparators)
{
  IPopupMenu sub;
  sub.AddItem("inner");
  {
    IPopupMenu menu;
    IPopupMenuItem* plain = menu.AddItem(nullptr, -1, IPopupMenuItem::kDisabled | IPopupMenuItem::kIndented);
    ASSERT_NE(plain, nullptr);
    EXPECT_STREQ(plain->GetText(), "");
    EXPECT_FALSE(plain->GetEnabled());
    EXPECT_TRUE(plain->GetIndented());
    IPopupMenuItem* withSub = menu.AddItem("more", &sub);
    EXPECT_EQ(withSub->GetSubmenu(), &sub);
    EXPECT_EQ(withSub->GetFlags(), 0);
    EXPECT_EQ(menu.GetItem(1), withSub);
    IPopupMenuItem* separator = menu.AddSeparator(0);
    EXPECT_TRUE(separator->GetIsSeparator());
    EXPECT_STREQ(separator->GetText(), "");
    EXPECT_EQ(menu.GetItem(0), separator);
    IPopupMenuItem* made = menu.AddItem(new IPopupMenuItem("own", IPopupMenuItem::kChecked), 1);
    EXPECT_EQ(menu.GetItem(1), made);
    EXPECT_EQ(menu.AddItem(static_cast<IPopupMenuItem*>(nullptr)), nullptr);
    EXPECT_EQ(menu.GetNItems(), 4);
  }
  // The submenu outlives the menu that pointed at it.
  EXPECT_EQ(sub.GetNItems(), 1);
  EXPECT_STREQ(sub.GetItemText(0), "inner");
}

TEST(IPopupMenuTest, PrefixAcceptsOnlyZeroToThree)
{
  IPopupMenu menu;
  EXPECT_EQ(menu.GetPrefix(), 0);
  menu.SetPrefix(2);
  EXPECT_EQ(menu.GetPrefix(), 2);
  menu.SetPrefix(4);
  EXPECT_EQ(menu.GetPrefix(), 2);
  menu.SetPrefix(-1);
  EXPECT_EQ(menu.GetPrefix(), 2);
  menu.SetPrefix(0);
  EXPECT_EQ(menu.GetPrefix(), 0);
}

TEST(IPopupMenuTest, ChecksAndLookupsOutsideTheList)
{
  IPopupMenu menu;
  ThreeItems(&menu);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(menu.CheckItem(i, true));
  menu.CheckItemAlone(1);
  EXPECT_FALSE(menu.IsItemChecked(0));
  EXPECT_TRUE(menu.IsItemChecked(1));
  EXPECT_FALSE(menu.IsItemChecked(2));
  EXPECT_TRUE(menu.CheckItem(1, false));
  EXPECT_FALSE(menu.IsItemChecked(1));
  // Checking an item keeps its other flags.
  menu.GetItem(2)->SetEnabled(false);
  menu.CheckItem(2, true);
  EXPECT_FALSE(menu.GetItem(2)->GetEnabled());
  EXPECT_TRUE(menu.GetItem(2)->GetChecked());

  EXPECT_EQ(menu.GetItem(-1), nullptr);
  EXPECT_EQ(menu.GetItem(menu.GetNItems()), nullptr);
  EXPECT_STREQ(menu.GetItemText(-1), "");
  EXPECT_STREQ(menu.GetItemText(3), "");
  EXPECT_FALSE(menu.CheckItem(3, true));
  EXPECT_FALSE(menu.IsItemChecked(-1));
  menu.CheckItemAlone(7);  // no such item: every check cleared
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(menu.IsItemChecked(i));
}

TEST(IPopupMenuTest, ChosenItemStartsUnset)
{
  IPopupMenu menu;
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  menu.SetChosenItemIdx(2);
  EXPECT_EQ(menu.GetChosenItemIdx(), 2);
}

}  // namespace
