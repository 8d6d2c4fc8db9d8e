#pragma once
// Controls that show text or act as links: plain text, a parameter's
// caption, and an invisible link area that opens an address. A text
// control's IText says how the string is drawn; the constructors copy the
// caller's IText whole, its cached font included.
//
// Threads: the editor's thread, as every control (IControl.h). A caption
// reads its parameter through IGraphics::SnapshotParam.

#include "base/string.h"
#include "framework/editor/controls/IControl.h"

// Unbound text, drawn with DrawIText (an empty string draws nothing).
class ITextControl : public IControl {
public:
  ITextControl(IEffectBase* plug, IRECT rect, IText* text, const char* str = "");

  bool Draw(IGraphics* graphics) override;

  // Replaces the text and marks the control dirty when it differs (exact
  // comparison); otherwise nothing.
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  const char* GetTextForPlug() const { return mStr.Get(); }

protected:
  BASE_String mStr;
};

// The bound parameter's display text, followed by " " and its label when
// showParamLabel is set. Presses and double clicks prompt (once the owner
// enables prompting).
class ICaptionControl : public ITextControl {
public:
  ICaptionControl(IEffectBase* plug, IRECT rect, int paramIdx, IText* text, bool showParamLabel = true);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

protected:
  bool mShowParamLabel;
};

// An invisible, unbound hot area over artwork: a press (any button) opens
// the address, else the backup address, with the editor's OpenURL. The
// texts are fixed at construction; each is copied only when non-null and
// non-empty, and cut to fit.
class IURLControl : public IControl {
public:
  static const int kURLSize = 256;
  static const int kErrMsgSize = 1024;

  IURLControl(IEffectBase* plug, IRECT rect, const char* url, const char* backupURL = nullptr,
              const char* errMsgOnFailure = nullptr);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

  const char* GetURL() const { return mURL; }
  const char* GetBackupURL() const { return mBackupURL; }
  const char* GetErrMsg() const { return mErrMsg; }

protected:
  char mURL[kURLSize];
  char mBackupURL[kURLSize];
  char mErrMsg[kErrMsgSize];
};
