#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "base/cstring.h"
#include "base/string.h"

TEST(String, NeverHeldTextReadsEmpty)
{
  BASE_String s;
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.GetLength(), 0);
  BASE_String n(nullptr);
  EXPECT_STREQ(n.Get(), "");
}

TEST(String, SetAppendInsertDelete)
{
  BASE_String s("middle");
  s.Insert("the ", 0);
  s.Append(" of it");
  s.Insert("very ", 4);
  EXPECT_STREQ(s.Get(), "the very middle of it");
  s.Insert("!", 1000);
  EXPECT_STREQ(s.Get(), "the very middle of it!");
  s.DeleteSub(3, 5);
  EXPECT_STREQ(s.Get(), "the middle of it!");
  s.Set("abcdef", 3);
  EXPECT_STREQ(s.Get(), "abc");
  EXPECT_EQ(s.GetLength(), 3);
  s.SetLength(1);
  EXPECT_STREQ(s.Get(), "a");
  s.Append("");
  s.Append(nullptr);
  EXPECT_STREQ(s.Get(), "a");
}

TEST(String, DoSetRules)
{
  BASE_String s("keep");
  s.__doSet(-1, "x", 1, 0);
  s.__doSet(0, "x", 0, 2);
  EXPECT_STREQ(s.Get(), "keep") << "other combinations do nothing";
  s.__doSet(2, "XY", 2, 2);  // the two characters at 2 move behind the new text
  EXPECT_STREQ(s.Get(), "keXYep");
  s.__doSet(0, nullptr, 0, 0);
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.GetLength(), 0);
}

TEST(String, SourceInsideOwnBufferSurvivesGrowth)
{
  BASE_String s("0123456789");
  for (int i = 0; i < 8; ++i) s.Append(s.Get());  // doubles past many reallocations
  std::string expected = "0123456789";
  for (int i = 0; i < 8; ++i) expected += expected;
  EXPECT_EQ(std::string(s.Get()), expected);

  BASE_String t("abcdef");
  t.Insert(t.Get() + 2, 1, 3);  // insert "cde" from itself, overlapping the moved tail
  EXPECT_STREQ(t.Get(), "acdebcdef");
  t.Set(t.Get() + 4);
  EXPECT_STREQ(t.Get(), "bcdef");
}

TEST(String, CopiesAreIndependent)
{
  BASE_String a("one");
  BASE_String b(a);
  b.Append(" two");
  a = b;
  b.Set("three");
  EXPECT_STREQ(a.Get(), "one two");
}

TEST(CopyString, CutsAndTerminates)
{
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  BASE_CopyString(buf, "a long name", sizeof buf);
  EXPECT_STREQ(buf, "a long ");
  BASE_CopyString(buf, nullptr, sizeof buf);
  EXPECT_STREQ(buf, "");
  buf[0] = 'q';
  BASE_CopyString(buf, "zzz", 0);
  EXPECT_EQ(buf[0], 'q');
}
