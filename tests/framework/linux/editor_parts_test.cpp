// The pieces of the X11 editor that need no X server: what the text field
// lets through and how it edits, the layout and keyboard rules of popup
// menus, the frame pacing of the tick, images that decode on first use,
// and the editor's answers while no window is open.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Before anything that includes Xlib, whose macros clash with their names.
#include "framework/IParam.h"
#include "framework/editor/IPopupMenu.h"
#include "framework/editor/controls/IPanelControl.h"

#include <X11/keysym.h>

#include "framework/linux/IGraphicsLinux.h"
#include "framework/linux/LinuxLazyBitmap.h"
#include "framework/linux/LinuxMenuLayout.h"
#include "framework/linux/LinuxTextEntry.h"
#include "framework/linux/LinuxTextFormatter.h"
#include "framework/linux/LinuxTickClock.h"
#include "pix/pix_membitmap.h"
#include "tests/framework/linux/standin_programs.h"
#include "tests/pix/png_test_writer.h"
#include "tests/temp_folder.h"

namespace {

// ---- What the field lets through ----

TEST(LinuxTextFormatter, ValueFieldsTakeNumbersUpToTheirLength)
{
  const LinuxTextFormatter decimal = LinuxTextFormatter::ForParamType(IParam::kTypeDouble, 7);
  EXPECT_TRUE(decimal.IsPartialStringValid("-1.5"));
  EXPECT_TRUE(decimal.IsPartialStringValid("+0.25"));
  EXPECT_FALSE(decimal.IsPartialStringValid("1a"));
  EXPECT_FALSE(decimal.IsPartialStringValid("1,5"));
  EXPECT_FALSE(decimal.IsPartialStringValid("1 5"));
  EXPECT_TRUE(decimal.IsPartialStringValid("1234567"));
  EXPECT_FALSE(decimal.IsPartialStringValid("12345678"));  // the eighth character
  EXPECT_TRUE(decimal.IsPartialStringValid(""));

  for (int type : {IParam::kTypeBool, IParam::kTypeInt, IParam::kTypeEnum}) {
    const LinuxTextFormatter whole = LinuxTextFormatter::ForParamType(type, 7);
    EXPECT_TRUE(whole.IsPartialStringValid("-12"));
    EXPECT_FALSE(whole.IsPartialStringValid("1.5"));
  }
  // A parameter of no known type takes nothing at all.
  EXPECT_FALSE(LinuxTextFormatter::ForParamType(IParam::kTypeNone, 7).IsPartialStringValid("1"));
  // A length of 0 sets no limit.
  EXPECT_TRUE(LinuxTextFormatter::ForParamType(IParam::kTypeDouble, 0).IsPartialStringValid("1234567890123"));
}

TEST(LinuxTextFormatter, FreeTextCountsCharactersNotBytesAndHonoursAMaximumValue)
{
  LinuxTextFormatter free;
  EXPECT_TRUE(free.IsPartialStringValid("anything at all; \"quoted\""));
  free.SetMaximumLength(3);
  EXPECT_TRUE(free.IsPartialStringValid("\xC3\xA9t\xC3\xA9"));  // "été": three characters in five bytes
  EXPECT_FALSE(free.IsPartialStringValid("\xC3\xA9t\xC3\xA9s"));
  // Characters beyond the filter's single-byte set are outside it.
  free.SetAcceptableCharacterSet("abc");
  EXPECT_FALSE(free.IsPartialStringValid("\xC3\xA9"));
  EXPECT_TRUE(free.IsPartialStringValid("cab"));

  LinuxTextFormatter limited;
  limited.SetMaximumValue(100);
  EXPECT_TRUE(limited.IsPartialStringValid("100"));
  EXPECT_TRUE(limited.IsPartialStringValid(" 42abc"));
  EXPECT_FALSE(limited.IsPartialStringValid("101"));
  EXPECT_FALSE(limited.IsPartialStringValid("99999999999999999999"));
}

// ---- The field's editing ----

class TextEntryTest : public ::testing::Test {
protected:
  void Open(const char* text, const LinuxTextFormatter& f = LinuxTextFormatter())
  {
    ASSERT_TRUE(entry.Open(&control, nullptr, &face, IRECT(10, 10, 90, 30), text, f, 100, 50));
  }
  IPanelControl control{nullptr, IRECT(0, 0, 100, 50), &COLOR_GRAY};
  IText face;
  LinuxTextEntry entry;
};

TEST_F(TextEntryTest, TypingAndCaretKeysEditAtTheCaretCharacterByCharacter)
{
  Open("a\xC3\xA9z");  // "aéz", the caret at its end
  EXPECT_EQ(4u, entry.Caret());
  EXPECT_TRUE(entry.Left());
  EXPECT_TRUE(entry.Left());  // over the two bytes of é at once
  EXPECT_EQ(1u, entry.Caret());
  EXPECT_TRUE(entry.Insert("XY"));
  EXPECT_EQ("aXY\xC3\xA9z", entry.Text());
  EXPECT_TRUE(entry.Delete());  // é goes whole
  EXPECT_EQ("aXYz", entry.Text());
  EXPECT_TRUE(entry.Backspace());
  EXPECT_EQ("aXz", entry.Text());
  EXPECT_TRUE(entry.Home());
  EXPECT_FALSE(entry.Home());
  EXPECT_FALSE(entry.Left());
  EXPECT_FALSE(entry.Backspace());
  EXPECT_TRUE(entry.End());
  EXPECT_FALSE(entry.Right());
  EXPECT_FALSE(entry.Delete());
  EXPECT_EQ(3u, entry.Caret());
}

TEST_F(TextEntryTest, TheFormatterRefusesWholeInsertionsAndLeavesTheTextAsItWas)
{
  Open("12", LinuxTextFormatter::ForParamType(IParam::kTypeDouble, 4));
  EXPECT_FALSE(entry.Insert("x"));
  EXPECT_TRUE(entry.Insert(".5"));
  EXPECT_FALSE(entry.Insert("9"));  // a fifth character
  EXPECT_EQ("12.5", entry.Text());
  EXPECT_EQ(4u, entry.Caret());
  // Deleting is always allowed, so a field can be emptied.
  EXPECT_TRUE(entry.Backspace());
  EXPECT_TRUE(entry.Insert("7"));
  EXPECT_EQ("12.7", entry.Text());
}

TEST_F(TextEntryTest, KeysAskForCommitCancelOrPasteAndTypeOnlyPlainCharacters)
{
  Open("");
  EXPECT_EQ(LinuxTextEntry::kKeyCommit, entry.Key(XK_Return, "\r", 0));
  EXPECT_EQ(LinuxTextEntry::kKeyCommit, entry.Key(XK_KP_Enter, "\r", 0));
  EXPECT_EQ(LinuxTextEntry::kKeyCancel, entry.Key(XK_Escape, "", 0));
  EXPECT_EQ(LinuxTextEntry::kKeyPaste, entry.Key(XK_v, "", ControlMask));
  EXPECT_EQ(LinuxTextEntry::kKeyPaste, entry.Key(XK_Insert, "", ShiftMask));
  EXPECT_EQ(LinuxTextEntry::kKeyIgnored, entry.Key(XK_Insert, "", 0));
  EXPECT_EQ(LinuxTextEntry::kKeyIgnored, entry.Key(XK_a, "a", ControlMask));
  EXPECT_EQ(LinuxTextEntry::kKeyIgnored, entry.Key(XK_a, "a", Mod1Mask));
  EXPECT_EQ(LinuxTextEntry::kKeyIgnored, entry.Key(XK_F1, "", 0));
  EXPECT_EQ("", entry.Text());
  EXPECT_EQ(LinuxTextEntry::kKeyEdited, entry.Key(XK_v, "v", 0));
  EXPECT_EQ(LinuxTextEntry::kKeyEdited, entry.Key(XK_KP_1, "1", Mod2Mask));
  EXPECT_EQ(LinuxTextEntry::kKeyEdited, entry.Key(XK_Left, "", 0));
  EXPECT_EQ(LinuxTextEntry::kKeyEdited, entry.Key(XK_BackSpace, "", 0));
  EXPECT_EQ("1", entry.Text());
  EXPECT_EQ(LinuxTextEntry::kKeyIgnored, entry.Key(XK_BackSpace, "", 0));  // nothing before the caret
}

TEST_F(TextEntryTest, OpensOnlyOnceAndOnlyInsideTheEditor)
{
  EXPECT_FALSE(entry.Open(nullptr, nullptr, &face, IRECT(0, 0, 10, 10), "", LinuxTextFormatter(), 100, 50));
  EXPECT_FALSE(
      entry.Open(&control, nullptr, &face, IRECT(100, 0, 140, 10), "", LinuxTextFormatter(), 100, 50));
  ASSERT_TRUE(
      entry.Open(&control, nullptr, &face, IRECT(-20, 40, 30, 70), "x", LinuxTextFormatter(), 100, 50));
  EXPECT_EQ(IRECT(0, 40, 30, 50), entry.Rect());  // cut to the editor
  EXPECT_FALSE(entry.Open(&control, nullptr, &face, IRECT(0, 0, 10, 10), "y", LinuxTextFormatter(), 100, 50));
  EXPECT_EQ("x", entry.Text());
}

TEST_F(TextEntryTest, PaintsInItsColoursAndPutsThePictureUnderItBack)
{
  face.mTextEntryBGColor = IColor(255, 255, 255, 0);
  face.mTextEntryFGColor = IColor(255, 0, 0, 255);
  PIX_MemBitmap editor(100, 50);
  PIX_pixel* bits = editor.getBits();
  const int span = editor.getRowSpan();
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) bits[y * span + x] = 0xFF000000u | (uint32_t)(x * 2) << 8 | (uint32_t)y;
  const std::vector<PIX_pixel> before(bits, bits + 50 * span);

  Open("");
  entry.Paint(&editor);
  EXPECT_EQ(0xFFFFFF00u, bits[12 * span + 12]);         // inside: the field's background
  EXPECT_EQ(before[9 * span + 9], bits[9 * span + 9]);  // outside: untouched
  // An empty field is its background and a caret of the text colour.
  int caret = 0;
  for (int y = 10; y < 30; ++y)
    for (int x = 10; x < 90; ++x) caret += bits[y * span + x] == 0xFF0000FFu;
  EXPECT_GT(caret, 4);

  entry.Insert("12");
  entry.Paint(&editor);  // painted again over the same kept picture
  entry.Unpaint(&editor);
  EXPECT_FALSE(entry.Painted());
  EXPECT_TRUE(std::equal(before.begin(), before.end(), bits));
}

// ---- Menus ----

IPopupMenu* MakeMenu(IPopupMenu* menu, IPopupMenu* sub)
{
  menu->AddItem("One");
  menu->AddSeparator();
  menu->AddItem("Two", -1, IPopupMenuItem::kDisabled);
  menu->AddItem("Three", -1, IPopupMenuItem::kChecked | IPopupMenuItem::kIndented);
  menu->AddItem("Four", sub);
  return menu;
}

TEST(LinuxMenuLayout, TitlesCarryTheNumberPrefixOfTheirPosition)
{
  IPopupMenu menu;
  menu.AddItem("A");
  menu.AddItem("B");
  menu.AddItem("Third");
  EXPECT_EQ("Third", LinuxMenuLayout::Title(&menu, 2));
  menu.SetPrefix(1);
  EXPECT_EQ("3: Third", LinuxMenuLayout::Title(&menu, 2));
  menu.SetPrefix(2);
  EXPECT_EQ("03: Third", LinuxMenuLayout::Title(&menu, 2));
  menu.SetPrefix(3);
  EXPECT_EQ("003: Third", LinuxMenuLayout::Title(&menu, 2));
  EXPECT_EQ("", LinuxMenuLayout::Title(&menu, 3));
}

TEST(LinuxMenuLayout, RowsStackInsideTheFrameAndTheWidestTitleSetsTheWidth)
{
  IPopupMenu menu, sub;
  MakeMenu(&menu, &sub);
  menu.SetPrefix(1);
  LinuxMenuLayout layout;
  std::vector<std::string> measured;
  layout.Build(&menu, 14, [&](const char* title) {
    measured.push_back(title);
    return static_cast<int>(std::string(title).size()) * 10;
  });
  // Separators have no title and are not measured; the others carry their prefix.
  EXPECT_EQ((std::vector<std::string>{"1: One", "3: Two", "4: Three", "5: Four"}), measured);
  ASSERT_EQ(5, layout.NRows());
  EXPECT_EQ(1, layout.Row(0)->top);
  EXPECT_EQ(20, layout.Row(0)->height);
  EXPECT_EQ(21, layout.Row(1)->top);
  EXPECT_EQ(7, layout.Row(1)->height);
  EXPECT_EQ(28, layout.Row(2)->top);
  EXPECT_EQ(1 + 4 * 20 + 7 + 1, layout.Height());
  // "4: Three" is indented: 80 + 12 pixels of text.
  EXPECT_EQ(2 + 20 + 92 + 18, layout.Width());
  EXPECT_TRUE(layout.Row(3)->checked && layout.Row(3)->indented);
  EXPECT_EQ(&sub, layout.Row(4)->submenu);

  EXPECT_EQ(0, layout.RowAt(5, 1));
  EXPECT_EQ(1, layout.RowAt(5, 21));
  EXPECT_EQ(-1, layout.RowAt(5, 0));  // the frame
  EXPECT_EQ(-1, layout.RowAt(0, 5));
  EXPECT_EQ(-1, layout.RowAt(5, layout.Height() - 1));
}

TEST(LinuxMenuLayout, KeyboardStepsSkipSeparatorsAndDisabledItemsAndWrap)
{
  IPopupMenu menu, sub;
  MakeMenu(&menu, &sub);
  LinuxMenuLayout layout;
  layout.Build(&menu, 10, [](const char*) { return 10; });
  EXPECT_EQ(0, layout.Next(-1, +1));
  EXPECT_EQ(3, layout.Next(0, +1));
  EXPECT_EQ(4, layout.Next(3, +1));
  EXPECT_EQ(0, layout.Next(4, +1));
  EXPECT_EQ(4, layout.Next(-1, -1));
  EXPECT_EQ(0, layout.Next(3, -1));
  EXPECT_FALSE(layout.Selectable(1));
  EXPECT_FALSE(layout.Selectable(2));

  IPopupMenu dead;
  dead.AddSeparator();
  dead.AddItem("Off", -1, IPopupMenuItem::kDisabled);
  layout.Build(&dead, 10, [](const char*) { return 10; });
  EXPECT_EQ(-1, layout.Next(-1, +1));
  layout.Build(nullptr, 10, [](const char*) { return 10; });
  EXPECT_EQ(0, layout.NRows());
  EXPECT_EQ(-1, layout.Next(-1, -1));
}

TEST(LinuxMenuLayout, MenusStayOnTheScreen)
{
  int x = 0, y = 0;
  LinuxMenuLayout::PlaceBelow(100, 80, 50, 60, 40, 1024, 768, &x, &y);
  EXPECT_EQ(50, x);
  EXPECT_EQ(60, y);
  // Too far right: moved left; too low: above the rectangle instead.
  LinuxMenuLayout::PlaceBelow(100, 80, 1000, 700, 680, 1024, 768, &x, &y);
  EXPECT_EQ(924, x);
  EXPECT_EQ(600, y);
  // No room above either: as low as fits.
  LinuxMenuLayout::PlaceBelow(100, 700, 0, 100, 60, 1024, 768, &x, &y);
  EXPECT_EQ(68, y);
  // Taller than the screen: from its top.
  LinuxMenuLayout::PlaceBelow(100, 900, -30, 10, 5, 1024, 768, &x, &y);
  EXPECT_EQ(0, x);
  EXPECT_EQ(0, y);

  // Submenus open to the right, sharing the frame, or to the left.
  LinuxMenuLayout::PlaceBeside(100, 80, 200, 120, 300, 1024, 768, &x, &y);
  EXPECT_EQ(319, x);
  EXPECT_EQ(299, y);
  LinuxMenuLayout::PlaceBeside(100, 80, 850, 120, 740, 1024, 768, &x, &y);
  EXPECT_EQ(751, x);
  EXPECT_EQ(688, y);
}

// ---- The tick ----

const int64_t kMs = 1000000;

TEST(LinuxTickClock, StepsAtMostAtTheFrameRateWhateverTheHostsRate)
{
  LinuxTickClock clock(25);
  EXPECT_TRUE(clock.Due(1000 * kMs));
  EXPECT_FALSE(clock.Due(1039 * kMs));
  EXPECT_EQ(1 * kMs, clock.Until(1039 * kMs));
  EXPECT_TRUE(clock.Due(1040 * kMs));

  // Idle calls every 10, 33 and 100 ms for ten seconds.
  for (int period : {10, 33, 100}) {
    LinuxTickClock c(25);
    int steps = 0;
    for (int64_t t = 0; t < 10000; t += period) steps += c.Due(t * kMs);
    EXPECT_LE(steps, 251) << period;
    EXPECT_GE(steps, period == 100 ? 100 : 240) << period;
  }
  // 0 or less is the default 25.
  EXPECT_EQ(40 * kMs, LinuxTickClock(0).PeriodNs());
  EXPECT_EQ(40 * kMs, LinuxTickClock(-3).PeriodNs());
}

TEST(LinuxTickClock, AStalledHostGetsOneStepNotABurst)
{
  LinuxTickClock clock(25);
  EXPECT_TRUE(clock.Due(0));
  EXPECT_TRUE(clock.Due(5000 * kMs));  // five seconds late
  EXPECT_FALSE(clock.Due(5001 * kMs));
  EXPECT_FALSE(clock.Due(5039 * kMs));
  EXPECT_TRUE(clock.Due(5040 * kMs));
}

// ---- Images ----

class LazyBitmapTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(temp.Made()); }
  void Write(const char* name, const std::vector<unsigned char>& bytes)
  {
    ASSERT_TRUE(WriteFile(temp.Path(name), bytes));
  }
  TempFolder temp{"lazy"};
  const std::string folder = temp.Path();
};

TEST_F(LazyBitmapTest, KnowsItsSizeAtOnceAndDecodesOnFirstUseOnce)
{
  const TestImage image = MakeTestImage(PNG_COLOR_TYPE_RGB_ALPHA, 8, 7, 5);
  Write("a.png", WritePNG(image));
  LinuxImageSource source;
  ASSERT_TRUE(LinuxFindImage("no.such.bundle", "img/a.png", &source, folder.c_str()));
  LinuxLazyBitmap bitmap(source);
  EXPECT_EQ(7, bitmap.getWidth());
  EXPECT_EQ(5, bitmap.getHeight());
  EXPECT_FALSE(bitmap.Decoded());

  // Eight editors ask for the pixels at once: one decode, one answer.
  std::vector<PIX_pixel*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) threads.emplace_back([&, i] { seen[i] = bitmap.getBits(); });
  for (std::thread& t : threads) t.join();
  EXPECT_TRUE(bitmap.Decoded());
  ASSERT_NE(seen[0], nullptr);
  EXPECT_EQ(1u, std::set<PIX_pixel*>(seen.begin(), seen.end()).size());
  EXPECT_GE(bitmap.getRowSpan(), 7);
  EXPECT_EQ(ExpectedPixel(image, 3, 2), seen[0][bitmap.getRowSpan() * 2 + 3]);
  EXPECT_FALSE(bitmap.resize(3, 3));
  EXPECT_EQ(7, bitmap.getWidth());
}

TEST_F(LazyBitmapTest, AFileThatBreaksOrChangesSizeBeforeItsDecodeDrawsAsNothing)
{
  Write("b.png", WritePNG(MakeTestImage(PNG_COLOR_TYPE_RGB, 8, 6, 6)));
  LinuxImageSource source;
  ASSERT_TRUE(LinuxFindImage("no.such.bundle", "b.png", &source, folder.c_str()));
  LinuxLazyBitmap grown(source);
  Write("b.png", WritePNG(MakeTestImage(PNG_COLOR_TYPE_RGB, 8, 60, 60)));
  EXPECT_EQ(nullptr, grown.getBits());
  EXPECT_EQ(6, grown.getRowSpan());

  ASSERT_TRUE(LinuxFindImage("no.such.bundle", "b.png", &source, folder.c_str()));
  LinuxLazyBitmap cut(source);
  std::vector<unsigned char> bytes = WritePNG(MakeTestImage(PNG_COLOR_TYPE_RGB, 8, 60, 60));
  bytes.resize(bytes.size() / 2);
  Write("b.png", bytes);
  EXPECT_EQ(nullptr, cut.getBits());
}

// ---- The editor without a window ----

class ClosedEditorTest : public ::testing::Test {
protected:
  IGraphicsLinux* gui = MakeGraphics(nullptr, 303, 436);
  void TearDown() override { delete gui; }
};

TEST_F(ClosedEditorTest, FindsTheBuiltInImagesByTheirLastNameWithoutDecodingThem)
{
  EXPECT_STREQ("com.Lumenfold.vst.Quarry", gui->GetBundleID());
  PIX_IBitmap* bg = gui->OSLoadBitmap(101, "resources/img/bg.png");
  ASSERT_NE(bg, nullptr);
  EXPECT_EQ(303, bg->getWidth());
  EXPECT_EQ(436, bg->getHeight());
  EXPECT_FALSE(static_cast<LinuxLazyBitmap*>(bg)->Decoded());
  EXPECT_NE(bg->getBits(), nullptr);
  delete bg;
  EXPECT_EQ(nullptr, gui->OSLoadBitmap(101, "resources/img/bg.jpg"));
  EXPECT_EQ(nullptr, gui->OSLoadBitmap(101, "resources/img/missing.png"));
  EXPECT_EQ(nullptr, gui->OSLoadBitmap(101, nullptr));
  gui->SetBundleID("another.bundle");
  EXPECT_EQ(nullptr, gui->OSLoadBitmap(101, "resources/img/bg.png"));
}

TEST_F(ClosedEditorTest, AnswersAsAnEditorWithoutAWindowAndStartsNoDialog)
{
  StandInPrograms bin;
  bin.Add("zenity", 0, "/tmp/x.fxp\n");
  EXPECT_STREQ("X11 GUI", gui->GetGUIAPI());
  EXPECT_EQ(nullptr, gui->GetWindow());
  EXPECT_FALSE(gui->WindowIsOpen());
  IRECT r(0, 0, 10, 10);
  EXPECT_FALSE(gui->DrawScreen(&r));
  IPopupMenu menu;
  menu.AddItem("x");
  EXPECT_EQ(nullptr, gui->CreateIPopupMenu(&menu, &r));
  BASE_String file, dir;
  file.Set("keep?");
  gui->PromptForFile(&file, kFileOpen, &dir, "fxp");
  EXPECT_STREQ("", file.Get());
  EXPECT_FALSE(bin.Ran("zenity"));
  BASE_String clip;
  clip.Set("old");
  EXPECT_FALSE(gui->GetTextFromClipboard(&clip));
  EXPECT_STREQ("", clip.Get());
  IColor color(255, 1, 2, 3);
  EXPECT_FALSE(gui->PromptForColor(&color));
  EXPECT_EQ(IColor(255, 1, 2, 3), color);
  gui->ForceEndUserEdit();
  gui->OnEditIdle();
  gui->CloseWindow();
  EXPECT_GT(gui->GetUserOSVersion(), 0);
}

TEST_F(ClosedEditorTest, ResizingToTheSameSizeKeepsTheControls)
{
  gui->AttachControl(new IPanelControl(nullptr, IRECT(0, 0, 10, 10), &COLOR_RED));
  gui->Resize(303, 436);
  EXPECT_EQ(1, gui->NControls());
  gui->Resize(200, 100);
  EXPECT_EQ(0, gui->NControls());
  EXPECT_EQ(200, gui->Width());
}

}  // namespace
