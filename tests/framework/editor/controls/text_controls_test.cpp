// Text, caption, link, file-selector and bitmap-text controls.

#include <string>

#include "framework/editor/controls/IBitmapMonoText.h"
#include "framework/editor/controls/IFileSelectorControl.h"
#include "framework/editor/controls/ITextControls.h"
#include "tests/framework/editor/controls/controls_fixture.h"

namespace {

using TextControlsTest = ControlsTest;

TEST_F(TextControlsTest, TextFromThePlugMarksOnlyChanges)
{
  IText text;
  ITextControl* t = Attach(new ITextControl(&plug, IRECT(0, 0, 50, 20), &text, "abc"));
  DrawClean();
  t->SetTextFromPlug("abc");
  EXPECT_FALSE(t->IsDirty());
  t->SetTextFromPlug("abd");
  EXPECT_TRUE(t->IsDirty());
  EXPECT_STREQ(t->GetTextForPlug(), "abd");
  t->SetTextFromPlug(nullptr);
  EXPECT_STREQ(t->GetTextForPlug(), "");

  IBitmapTextControl* b = Attach(new IBitmapTextControl(&plug, IRECT(0, 30, 50, 50), nullptr, "xy"));
  DrawClean();
  b->SetTextFromPlug("xy");
  EXPECT_FALSE(b->IsDirty());
  b->SetTextFromPlug("xyz");
  EXPECT_TRUE(b->IsDirty());
  DrawAll();  // no font bitmap: nothing to draw, nothing to break
}

TEST_F(TextControlsTest, ACaptionShowsTheValueTextAndItsLabel)
{
  IText text;
  ICaptionControl* withLabel = Attach(new ICaptionControl(&plug, IRECT(0, 0, 80, 20), kLevel, &text, true));
  ICaptionControl* bare = Attach(new ICaptionControl(&plug, IRECT(0, 20, 80, 40), kLevel, &text, false));
  DrawAll();
  EXPECT_STREQ(withLabel->GetTextForPlug(), "12.0 dB");
  EXPECT_STREQ(bare->GetTextForPlug(), "12.0");

  // It follows the parameter, not its own value.
  withLabel->SetValueFromUserInput(0.5);
  DrawAll();
  EXPECT_STREQ(withLabel->GetTextForPlug(), "-24.0 dB");
  EXPECT_STREQ(bare->GetTextForPlug(), "-24.0");

  // Presses and double clicks prompt once the owner enables prompting.
  withLabel->OnMouseDown(5, 5, &left);
  EXPECT_TRUE(gui->calls.empty());
  withLabel->DisablePrompt(false);
  withLabel->OnMouseDblClick(5, 5, &left);
  ASSERT_TRUE(gui->textEntry.open);
  EXPECT_EQ(gui->textEntry.text, "-24.0");
  EXPECT_EQ(gui->textEntry.control, withLabel);
}

TEST_F(TextControlsTest, ALinkOpensItsAddressOrElseItsBackup)
{
  IURLControl* link =
      Attach(new IURLControl(&plug, IRECT(0, 0, 50, 50), "https://a.example/", "https://b.example/"));
  link->OnMouseDown(5, 5, &right);
  EXPECT_EQ(gui->urls, (std::vector<std::string>{"https://a.example/"}));

  gui->urlOpens = false;
  gui->urls.clear();
  link->OnMouseDown(5, 5, &left);
  EXPECT_EQ(gui->urls, (std::vector<std::string>{"https://a.example/", "https://b.example/"}));

  // A failure without a backup is silent; an empty address goes straight
  // to the backup; with neither nothing happens.
  gui->urls.clear();
  Attach(new IURLControl(&plug, IRECT(), "https://a.example/"))->OnMouseDown(0, 0, &left);
  Attach(new IURLControl(&plug, IRECT(), "", "https://b.example/"))->OnMouseDown(0, 0, &left);
  Attach(new IURLControl(&plug, IRECT(), "", ""))->OnMouseDown(0, 0, &left);
  Attach(new IURLControl(&plug, IRECT(), nullptr, nullptr, nullptr))->OnMouseDown(0, 0, &left);
  EXPECT_EQ(gui->urls, (std::vector<std::string>{"https://a.example/", "https://b.example/"}));

  // Links are invisible and unbound: nothing drawn, nothing sent.
  DrawAll();
  EXPECT_EQ(ColourAt(5, 5), Colour(kBackground));
  EXPECT_TRUE(plug.informed.empty());
}

TEST_F(TextControlsTest, OverLongLinkTextsAreCutToTheirFields)
{
  const std::string url(4000, 'u'), backup(300, 'b'), message(5000, 'm');
  IURLControl* link = Attach(new IURLControl(&plug, IRECT(), url.c_str(), backup.c_str(), message.c_str()));
  EXPECT_EQ(std::string(link->GetURL()), url.substr(0, 255));
  EXPECT_EQ(std::string(link->GetBackupURL()), backup.substr(0, 255));
  EXPECT_EQ(std::string(link->GetErrMsg()), message.substr(0, 1023));
  link->OnMouseDown(0, 0, &left);
  EXPECT_EQ(gui->urls, (std::vector<std::string>{url.substr(0, 255)}));
}

// An editor whose file dialog draws a pass while it is open, as a
// platform's dialog lets the editor repaint.
class DialogGraphics : public HeadlessGraphics {
public:
  using HeadlessGraphics::HeadlessGraphics;
  void PromptForFile(BASE_String* file, EFileAction action, BASE_String* dir, const char* extensions) override
  {
    IRECT all(0, 0, Width(), Height());
    Draw(&all);
    during = GetBits()[5 * GetDrawBitmap()->getRowSpan() + 5] & 0xFFFFFFu;
    lastAction = action;
    lastExtensions = extensions ? extensions : "";
    HeadlessGraphics::PromptForFile(file, action, dir, extensions);
  }
  uint32_t during = 0;
  EFileAction lastAction = kFileOpen;
  std::string lastExtensions;
};

TEST(FileSelectorControlTest, EachSelectionFlipsTheValueAndReportsDoneOnce)
{
  ControlsPlug plug;
  DialogGraphics* gui = new DialogGraphics(&plug, 100, 100);
  gui->RegisterImage("busy.png", 40, 40, 0xFF00FF00u);
  IBitmap busy = gui->LoadIBitmap(7501, "busy.png");
  gui->AttachPanelBackground(&COLOR_BLACK);
  IFileSelectorControl* selector =
      new IFileSelectorControl(&plug, IRECT(0, 0, 40, 40), kBypass, &busy, kFileSave, "/start", "fxp fxb");
  gui->AttachControl(selector);
  plug.AttachGraphics(gui);

  gui->fileChoice = "/presets/one.fxp";
  IMouseMod left(true, false);
  selector->OnMouseDown(5, 5, &left);
  EXPECT_EQ(gui->during, 0x00FF00u);  // the bitmap shows while the dialog is open
  EXPECT_EQ(gui->lastAction, kFileSave);
  EXPECT_EQ(gui->lastExtensions, "fxp fxb");
  BASE_String file;
  selector->GetLastSelectedFileForPlug(&file);
  EXPECT_STREQ(file.Get(), "/presets/one.fxp");
  EXPECT_DOUBLE_EQ(selector->GetValue(), 1.0);
  EXPECT_EQ(plug.GetParam(kBypass)->Int(), 1);
  EXPECT_EQ(selector->GetState(), IFileSelectorControl::kFSDone);

  // Done is reported once more after the control is clean.
  selector->SetClean();
  selector->SetClean();
  EXPECT_TRUE(selector->IsDirty());
  EXPECT_FALSE(selector->IsDirty());
  IRECT all(0, 0, 100, 100);
  gui->Draw(&all);
  EXPECT_EQ(gui->GetBits()[5 * gui->GetDrawBitmap()->getRowSpan() + 5] & 0xFFFFFFu, 0u);

  // A cancelled dialog leaves no file and still flips the value.
  gui->fileChoice = "";
  selector->OnMouseDown(5, 5, &left);
  selector->GetLastSelectedFileForPlug(&file);
  EXPECT_STREQ(file.Get(), "");
  EXPECT_DOUBLE_EQ(selector->GetValue(), 0.0);
  ASSERT_EQ(plug.informed.size(), 2u);
  EXPECT_DOUBLE_EQ(plug.informed[1].second, 0.0);

  selector->SetLastSelectedFileFromPlug("/x.fxb");
  selector->GetLastSelectedFileForPlug(&file);
  EXPECT_STREQ(file.Get(), "/x.fxb");

  // Without an editor a press does nothing.
  ControlsPlug lone;
  IFileSelectorControl orphan(&lone, IRECT(0, 0, 10, 10), -1, nullptr, kFileOpen);
  orphan.OnMouseDown(1, 1, &left);
  EXPECT_EQ(orphan.GetState(), IFileSelectorControl::kFSNone);
}

class BitmapTextTest : public ControlsTest {
protected:
  // A font of 10 x 10 glyphs for the codes 32 to 95 (frames 1 to 64);
  // glyph f is the pixel kFont + f - 1.
  static constexpr PIX_pixel kFont = 0xFF100000u;
  BitmapTextTest() : font(Strip(7502, 10, 10, 64, kFont)) {}

  // The frame drawn at (x, y), 0 for background.
  int FrameAt(int x, int y)
  {
    const uint32_t c = ColourAt(x, y);
    return c == Colour(kBackground) ? 0 : static_cast<int>(c - Colour(kFont)) + 1;
  }
  void DrawText(const char* str, IRECT r, IText::EAlign align, bool centred, bool wrap, int glyphW = 10,
                int gap = 0)
  {
    DrawAll();
    IText text;
    text.mAlign = align;
    DrawBitmapedText(gui, &font, &r, &text, nullptr, str, centred, wrap, glyphW, 10, gap);
  }

  IBitmap font;
};

TEST_F(BitmapTextTest, GlyphsLandInColumnsByAlignment)
{
  DrawText("AB", IRECT(0, 0, 100, 30), IText::kAlignCenter, true, false);
  EXPECT_EQ(FrameAt(39, 15), 0);
  EXPECT_EQ(FrameAt(40, 10), 34);
  EXPECT_EQ(FrameAt(49, 19), 34);
  EXPECT_EQ(FrameAt(50, 15), 35);
  EXPECT_EQ(FrameAt(59, 15), 35);
  EXPECT_EQ(FrameAt(60, 15), 0);
  EXPECT_EQ(FrameAt(45, 9), 0);  // centred: rows 10 to 19
  EXPECT_EQ(FrameAt(45, 20), 0);

  DrawText("AB", IRECT(0, 0, 100, 30), IText::kAlignNear, false, false, 10, 5);
  EXPECT_EQ(FrameAt(0, 0), 34);
  EXPECT_EQ(FrameAt(12, 0), 0);
  EXPECT_EQ(FrameAt(15, 9), 35);

  DrawText("A B", IRECT(0, 0, 100, 30), IText::kAlignFar, false, false);
  EXPECT_EQ(FrameAt(70, 0), 34);
  EXPECT_EQ(FrameAt(80, 0), 1);  // the space glyph
  EXPECT_EQ(FrameAt(99, 0), 35);
}

TEST_F(BitmapTextTest, WrappedAndCutTextsStayInTheirRectangle)
{
  // Two glyphs fit a 25-pixel line: ABCDE wraps onto three lines, all drawn.
  DrawText("ABCDE", IRECT(100, 0, 125, 100), IText::kAlignNear, false, true);
  EXPECT_EQ(FrameAt(100, 0), 34);
  EXPECT_EQ(FrameAt(110, 0), 35);
  EXPECT_EQ(FrameAt(100, 10), 36);
  EXPECT_EQ(FrameAt(110, 10), 37);
  EXPECT_EQ(FrameAt(100, 20), 38);
  EXPECT_EQ(FrameAt(110, 20), 0);

  // Twelve glyphs centred in room for ten: the first ten fill the room.
  DrawText("ABCDEFGHIJKL", IRECT(50, 50, 150, 60), IText::kAlignCenter, false, false);
  EXPECT_EQ(FrameAt(49, 55), 0);
  EXPECT_EQ(FrameAt(50, 55), 34);
  EXPECT_EQ(FrameAt(149, 55), 43);
  EXPECT_EQ(FrameAt(150, 55), 0);
  // Wrapped and centred, the lines stay inside too.
  DrawText("ABCDE", IRECT(100, 0, 125, 100), IText::kAlignCenter, false, true);
  EXPECT_EQ(FrameAt(102, 0), 34);
  EXPECT_EQ(FrameAt(101, 0), 0);
}

TEST_F(BitmapTextTest, CharactersWithoutGlyphsAndDegenerateSizesAreSafe)
{
  // Codes below the space, past the font (z is 122) and beyond ASCII show
  // the space glyph.
  DrawText("\tz\xC3", IRECT(0, 0, 30, 10), IText::kAlignNear, false, false);
  EXPECT_EQ(FrameAt(0, 0), 1);
  EXPECT_EQ(FrameAt(10, 0), 1);
  EXPECT_EQ(FrameAt(20, 0), 1);

  DrawText("AB", IRECT(0, 0, 9, 10), IText::kAlignNear, false, false);
  EXPECT_EQ(FrameAt(0, 0), 0);
  DrawText("AB", IRECT(0, 0, 9, 10), IText::kAlignNear, false, true);
  EXPECT_EQ(FrameAt(0, 0), 0);
  DrawText("AB", IRECT(0, 0, 100, 10), IText::kAlignNear, false, true, 0);
  DrawText("AB", IRECT(0, 0, 100, 10), IText::kAlignNear, false, true, -3);
  EXPECT_EQ(FrameAt(0, 0), 0);
  DrawText("", IRECT(0, 0, 100, 10), IText::kAlignNear, false, false);
  DrawText(nullptr, IRECT(0, 0, 100, 10), IText::kAlignNear, false, false);

  // The control draws through the same function with its own settings.
  IText text;
  text.mAlign = IText::kAlignNear;
  Attach(new IBitmapTextControl(&plug, IRECT(0, 100, 60, 130), &font, "BA", &text, 10, 10, 0, false, true));
  DrawAll();
  EXPECT_EQ(FrameAt(0, 110), 35);
  EXPECT_EQ(FrameAt(10, 119), 34);
  EXPECT_EQ(FrameAt(10, 120), 0);
}

}  // namespace
