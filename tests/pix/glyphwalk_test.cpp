// The glyph walk that measuring and drawing share: line breaks, skipped and
// missing characters, byte counts, and pen positions from the advances.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pix/pix_glyphwalk.h"

namespace {

struct Step {
  unsigned short c;
  int along, across;
  bool operator==(const Step& o) const { return c == o.c && along == o.along && across == o.across; }
};

std::ostream& operator<<(std::ostream& os, const Step& s)
{
  return os << "{" << s.c << " at " << s.along << "," << s.across << "}";
}

// Glyphs whose advance is 10 plus the character's last digit; 'm' has none
// (cannot be rendered).
struct Font {
  std::vector<charEnt> entries = std::vector<charEnt>(0x10000);

  const charEnt* operator()(unsigned short c)
  {
    if (c == 'm') return nullptr;
    charEnt& e = entries[c];
    e.charid = c;
    e.advance = 10 + c % 10;
    return &e;
  }
};

std::vector<Step> Walk(const char* text, int length, bool singleLine = false, int lineStep = 17)
{
  Font font;
  std::vector<Step> steps;
  PIX_WalkGlyphs(text, length, singleLine, lineStep, font,
                 [&](unsigned short c, const charEnt& e, int along, int across) {
                   EXPECT_EQ(e.charid, c);
                   steps.push_back({c, along, across});
                 });
  return steps;
}

TEST(GlyphWalk, PenAdvancesAndLinesBreak)
{
  // 'A' is 65: advance 15; 'B' 66: 16; 'C' 67: 17.
  EXPECT_EQ(Walk("ABC", -1), (std::vector<Step>{{'A', 0, 0}, {'B', 15, 0}, {'C', 31, 0}}));
  // A line feed starts over one line step down; carriage returns vanish.
  EXPECT_EQ(Walk("AB\r\nC\n\nA", -1),
            (std::vector<Step>{{'A', 0, 0}, {'B', 15, 0}, {'C', 0, 17}, {'A', 0, 51}}));
  // A negative line step (a negative spacing adjustment) is taken as it is.
  EXPECT_EQ(Walk("A\nB", -1, false, -3), (std::vector<Step>{{'A', 0, 0}, {'B', 0, -3}}));
  // Single line: the line feed is a space (32, advance 12) on the same line.
  EXPECT_EQ(Walk("A\nB", -1, true), (std::vector<Step>{{'A', 0, 0}, {' ', 15, 0}, {'B', 27, 0}}));
}

TEST(GlyphWalk, MissingGlyphsAndUtf8)
{
  // A character without a glyph is skipped and does not move the pen.
  EXPECT_EQ(Walk("AmB", -1), (std::vector<Step>{{'A', 0, 0}, {'B', 15, 0}}));
  // é (0xE9 = 233: advance 13), a four-byte character as a space, a stray
  // byte as Latin-1.
  EXPECT_EQ(Walk("\xC3\xA9\xF0\x9F\x98\x80\xE9", -1),
            (std::vector<Step>{{0xE9, 0, 0}, {' ', 13, 0}, {0xE9, 25, 0}}));
  // The byte count ends the text, even inside a sequence, and past a zero.
  EXPECT_EQ(Walk("A\xC3\xA9", 2), (std::vector<Step>{{'A', 0, 0}, {0xC3, 15, 0}}));
  const std::string withZero("A\0B", 3);
  EXPECT_EQ(Walk(withZero.data(), 3), (std::vector<Step>{{'A', 0, 0}, {0, 15, 0}, {'B', 25, 0}}));
  EXPECT_TRUE(Walk("", -1).empty());
  EXPECT_TRUE(Walk("ABC", 0).empty());
}

}  // namespace
