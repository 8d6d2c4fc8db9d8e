#pragma once
// The base of every element of the editor: a rectangle that draws itself
// with the editor's drawing operations, reacts to the mouse and keys the
// editor routes to it, and usually mirrors one plug-in parameter as a
// normalized value 0-1.
//
// Value and dirty protocol. A value from the plug-in (SetValueFromPlug)
// marks the control dirty and sends nothing back; a value from the user
// (SetDirty(true), which every gesture ends with) is clamped, sent to the
// plug-in through IEffectBase::SetParameterFromGUI and shown by the
// value-display and name-display controls. Equal values are filtered before
// anything is marked dirty. A changed value also sets the redraw flag, so
// the control is drawn in the pass after the change and in the next one
// (SetClean moves redraw into dirty). The first value from the plug-in
// fixes the default value a double click returns to.
//
// Threads: every operation runs on the editor's thread; controls have no
// lock and no other thread reads or writes them. SetDirty(true) takes the
// plug-in mutex briefly through IEffectBase::SetParameterFromGUI, and the
// display updates read the parameter through IGraphics::SnapshotParam.
// Construction and attachment happen on the plug-in's constructor thread.

#include "base/heapbuf.h"
#include "base/string.h"
#include "framework/editor/IChannelBlend.h"
#include "framework/editor/IMouseMod.h"
#include "framework/editor/IRECT.h"
#include "framework/editor/IText.h"

class IEffectBase;
class IGraphics;
class IParam;
class ITextControl;

// Which way a control is dragged or laid out.
enum EDirection { kVertical = 0, kHorizontal = 1 };

class IControl {
public:
  // A further parameter a control follows besides its own.
  struct AuxParam {
    double mValue;
    int mParamIdx;
  };

  // The control draws in and is hit in rect; paramIdx -1 binds it to no
  // parameter.
  IControl(IEffectBase* plug, IRECT rect, int paramIdx = -1,
           IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Virtual operations, in slot order ----

  virtual ~IControl();
  // Right button: PromptUserInput(); otherwise nothing.
  virtual void OnMouseDown(int x, int y, IMouseMod* mod);
  virtual void OnMouseUp(int x, int y, IMouseMod* mod);
  virtual void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod);
  // Back to the default value (once one is fixed), sent to the plug-in.
  virtual void OnMouseDblClick(int x, int y, IMouseMod* mod);
  virtual void OnMouseWheel(int x, int y, IMouseMod* mod, int d);
  // False: not taken.
  virtual bool OnKeyDown(int x, int y, int key);
  virtual void OnMouseOver(int x, int y, IMouseMod* mod);
  virtual void OnMouseOut();
  // Draws into the editor's draw bitmap; true.
  virtual bool Draw(IGraphics* graphics) = 0;
  // The plug-in changed the value (normalized); the first call fixes the
  // default value.
  virtual void SetValueFromPlug(double value);
  // A prompt or menu produced the value; sent to the plug-in when it differs.
  virtual void SetValueFromUserInput(double value);
  // Text committed in an in-place field opened without a parameter.
  virtual void TextFromTextEntry(const char* text);
  virtual void Hide(bool hide);
  // A greyed control draws at weight 0.25 and ignores the mouse.
  virtual void GrayOut(bool gray);
  // The target rectangle contains the point.
  virtual bool IsHit(int x, int y);
  // Clamps the value into the clamp range and marks the control dirty;
  // with push, sends the value to the plug-in and updates the display
  // controls.
  virtual void SetDirty(bool push = true);
  // dirty = redraw; redraw = false.
  virtual void SetClean();
  virtual bool IsDirty();
  virtual void OnGUIIdle();
  virtual void SetAuxParamValueFromPlug(int auxIdx, double value);

  // ---- Parameters ----

  int ParamIdx() const { return mParamIdx; }
  // The plug-in's parameter at the control's index; null when unbound or
  // the index names no parameter.
  IParam* GetParam() const;
  // Asks the editor for a value for the bound parameter (menu or text
  // field): over the control when the parameter has display texts, else in
  // a 40 x 16 box centred on it. Nothing while prompting is disabled.
  void PromptUserInput();
  void PromptUserInput(IRECT* textRect);
  void AddAuxParam(int paramIdx);
  // Null outside the list.
  AuxParam* GetAuxParam(int auxIdx);
  // The first position following the parameter, or -1.
  int AuxParamIdx(int paramIdx) const;
  int NAuxParams() const { return mAuxParams.GetSize(); }
  // Sends every auxiliary value to the plug-in, in order.
  void SetAllAuxParamsFromGUI();

  // ---- Fields ----

  double GetValue() const { return mValue; }
  void SetValue(double value) { mValue = value; }
  // Below 0 until the plug-in first sets the value.
  double GetDefaultValue() const { return mDefaultValue; }
  void SetDefaultValue(double value) { mDefaultValue = value; }
  void Clamp(double lo, double hi)
  {
    mClampLo = lo;
    mClampHi = hi;
  }
  const IRECT* GetRECT() const { return &mRECT; }
  void SetRECT(const IRECT* rect) { mRECT = *rect; }
  const IRECT* GetTargetRECT() const { return &mTargetRECT; }
  void SetTargetRECT(const IRECT* rect) { mTargetRECT = *rect; }
  IText* GetText() { return &mText; }
  void SetText(const IText* text) { mText = *text; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  const char* GetTooltip() const { return mTooltip.Get(); }
  void SetTooltip(const char* tooltip) { mTooltip.Set(tooltip ? tooltip : ""); }
  // Text controls (not owned; attached to the same editor) that show the
  // parameter's display text with its label, and its name.
  void SetValDisplayControl(ITextControl* control) { mValDisplayControl = control; }
  void SetNameDisplayControl(ITextControl* control) { mNameDisplayControl = control; }
  ITextControl* GetValDisplayControl() const { return mValDisplayControl; }
  ITextControl* GetNameDisplayControl() const { return mNameDisplayControl; }
  bool IsHidden() const { return mHide; }
  bool IsGrayed() const { return mGrayed; }
  bool GetMOWhenGrayed() const { return mMOWhenGrayed; }
  void SetMOWhenGrayed(bool allow) { mMOWhenGrayed = allow; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool single) { mDblAsSingleClick = single; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  bool IsPromptDisabled() const { return mDisablePrompt; }
  const IChannelBlend* GetBlend() const { return &mBlend; }
  IEffectBase* GetPlug() const { return mPlug; }
  // The plug-in's editor; null before it is attached.
  IGraphics* GetGUI() const;

protected:
  // Control or shift held: drags and wheel steps adjust ten times finer.
  static bool IsFineAdjust(const IMouseMod* mod) { return mod && (mod->mC || mod->mS); }
  // Moves the value by d wheel steps (0.01 each, 0.001 when fine) and
  // sends it: the wheel of knobs and faders.
  void StepByWheel(const IMouseMod* mod, int d)
  {
    mValue += d * (IsFineAdjust(mod) ? 0.001 : 0.01);
    SetDirty(true);
  }
  // The nearest of n steps spread evenly over 0-1, counted from 0: below
  // the first (or not a number) the first, past the last the last; 0 for
  // fewer than two steps. Strip frames and radio buttons both pick here.
  static int StepForValue(int n, double value);
  // Controls take a copy of the caller's bitmap; a missing one is an image
  // without pixels or size, drawn as nothing.
  static IBitmap BitmapOrEmpty(const IBitmap* bitmap) { return bitmap ? *bitmap : IBitmap(); }
  // One frame of the bitmap with its top-left corner at (x, y); without a
  // bitmap, a rectangle of no size there.
  static IRECT FrameRECT(int x, int y, const IBitmap* bitmap)
  {
    return bitmap ? IRECT(x, y, bitmap) : IRECT(x, y, x, y);
  }

  // Text controls' SetTextFromPlug: replaces the text and marks the control
  // dirty when it differs (exact comparison; null counts as "").
  void UpdateText(BASE_String* field, const char* text);

  int mTextEntryLength = 7;
  IText mText;
  IEffectBase* mPlug;
  IRECT mRECT;
  IRECT mTargetRECT;
  int mParamIdx;
  BASE_TypedBuf<AuxParam> mAuxParams;
  double mValue = 0.0;
  double mDefaultValue = -1.0;
  double mClampLo = 0.0;
  double mClampHi = 1.0;
  bool mDirty = true;
  bool mHide = false;
  bool mGrayed = false;
  bool mRedraw = false;
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMOWhenGrayed = false;
  IChannelBlend mBlend;
  ITextControl* mValDisplayControl = nullptr;
  ITextControl* mNameDisplayControl = nullptr;
  BASE_String mTooltip;
};
