#pragma once
// The platform-neutral editor. It owns a flat list of controls (index 0 is
// the background once one is attached; later controls lie on top of earlier
// ones) and one off-screen 32-bit draw bitmap they draw into. It decides
// which controls must be redrawn, routes every input event to exactly one
// control, keeps controls and plug-in parameters in step in both
// directions, and offers the drawing operations controls draw with. A
// platform editor derives from it and supplies the window, the screen copy,
// images, dialogs, menus, text entry and paths (the pure virtual slots).
//
// The plug-in core knows the editor only through this header: it calls the
// virtual operations (and the inline size accessors), so the core links
// without the editor library. The header names raster types only by
// forward declaration.
//
// Threads. The editor has no lock of its own.
// - Editor thread: the host's user-interface thread (the one that calls
//   the editor opcodes). Every drawing, timer, input, prompting and control
//   operation runs there, and only there are controls, their values and
//   their dirty flags read or written.
// - Host threads (automation, state restore, text-to-parameter; usually
//   holding the plug-in mutex) never touch controls: they call
//   PostParameterFromPlug, which leaves the value in a per-parameter
//   mailbox without lock or allocation. The editor thread's timer step
//   (TimerStep) hands posted values to the controls before it asks for
//   dirty areas and draws.
// - The audio thread never calls the editor.
// - Construction, attachment (IEffectBase::AttachGraphics, which pushes the
//   initial values with SetParameterFromPlug under the plug-in mutex) and
//   destruction run on the plug-in's constructing and closing thread with
//   no other call in flight.
// - The editor takes the plug-in mutex only for short steps, never across
//   drawing: through IEffectBase::SetParameterFromGUI when a control sends a
//   value, and in SnapshotParam when drawing or prompting needs a
//   parameter's current value or texts. The host adapter calls OpenWindow,
//   CloseWindow and OnEditIdle without the plug-in mutex, so a drawing pass
//   never makes the audio thread wait.
// - The process-wide bitmap and font caches take their own mutexes for
//   each of their steps (BitmapStorage, FontStorage).
//
// Start-up cost. A plug-in builds its editor in its constructor, which a
// host also runs when it only scans plug-ins. Construction, attachment and
// PrepDraw therefore allocate no pixels: the draw bitmap is made when it is
// first needed (the first Draw, GetBits or window opening). LoadIBitmap
// needs an image's size at construction (controls take their rectangles
// from it) but not its pixels, so a platform may return from OSLoadBitmap a
// bitmap that knows its size and decodes its pixels on first use; such a
// bitmap is shared by every editor in the process and must make that first
// decode safe against concurrent first uses.

#include <cstdint>

#include "base/ptrlist.h"
#include "base/string.h"
#include "framework/editor/IBitmap.h"
#include "framework/editor/IChannelBlend.h"
#include "framework/editor/IColor.h"
#include "framework/editor/IMouseMod.h"
#include "framework/editor/IParamMailbox.h"
#include "framework/editor/IRECT.h"
#include "framework/editor/IText.h"

class IControl;
class IEffectBase;
class IParam;
class IPopupMenu;
class PIX_IBitmap;
class PIX_IFont;
class PIX_MemBitmap;
class PIX_SysBitmap;
// The rasteriser's pixel, 0xAARRGGBB (the same type as pix/pix_pixel.h's).
typedef uint32_t PIX_pixel;

// What a file prompt is for.
enum EFileAction { kFileOpen = 0, kFileSave = 1 };

class IGraphics {
public:
  // A parameter's current state, copied under the plug-in mutex.
  struct ParamSnapshot {
    static const int kDisplaySize = 512;  // room for any value a parameter formats
    static const int kLabelSize = 32;
    double mValue = 0.0;               // plain value
    double mNormalized = 0.0;          // the same, normalized
    char mDisplay[kDisplaySize] = {};  // the value as the host sees it, display texts included
    char mLabel[kLabelSize] = {};      // the label shown with that value
  };

  // Constructor thread. Stores the plug-in (not owned), size and frame
  // rate (0 or less gives 25) and sizes the parameter mailbox; makes no
  // bitmaps.
  IGraphics(IEffectBase* plug, int w, int h, int fps = 0);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Virtual operations, in slot order ----

  // 1. Platform: copies the area r of the draw bitmap to the screen; false
  // without a window. Only r is current: shapes are not clipped to the
  // pass's rectangle, so a filled panel may have painted over controls
  // outside it that the pass did not redraw.
  virtual bool DrawScreen(IRECT* r) = 0;
  // 2. Text drawing in measure mode (DrawIText): widens r to the text's extent.
  virtual bool MeasureIText(IText* text, const char* str, IRECT* r);
  // 3. Platform: closes an open in-place text entry without committing it.
  virtual void ForceEndUserEdit() = 0;
  // 4. Takes the new size; releases the capture, deletes every control and
  // the drawing bitmaps, PrepDraw, then the plug-in's ResizeGraphics. The
  // plug-in must attach its controls again afterwards.
  virtual void Resize(int w, int h);
  // 5. True while GetWindow is non-null.
  virtual bool WindowIsOpen();
  // 6. The platform's name for its interface; "" here.
  virtual const char* GetGUIAPI();
  // 7. Platform: a modal message box. type: 1 OK/Cancel, 3 Yes/No/Cancel,
  // 4 Yes/No, other OK alone. Returns 1 for the default button (OK, Yes),
  // 7 for the alternate (Cancel with type 1, No), 2 for the other (Cancel
  // with type 3), 0 when no box could be shown.
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // 8. Platform: shows the menu under r and blocks until it closes. Returns
  // the menu (or submenu) whose item was chosen, with its chosen index set,
  // or null when nothing was chosen. Releases the mouse capture first.
  virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* r) = 0;
  // 9. Platform: opens an in-place text field over r holding str. On commit
  // the text goes to SetFromStringAfterPrompt (param non-null) or to the
  // control's TextFromTextEntry. A request while a field is open is ignored.
  virtual void CreateTextEntry(IControl* control, IText* text, IRECT* r, const char* str, IParam* param) = 0;
  // 10-14. Platform paths, each written into path.
  virtual void HostPath(BASE_String* path) = 0;
  virtual void PluginPath(BASE_String* path) = 0;
  virtual void DesktopPath(BASE_String* path) = 0;
  virtual void AppSupportPath(BASE_String* path, bool isSystem = false) = 0;
  virtual void SandboxSafeAppSupportPath(BASE_String* path) = 0;
  // 15. Platform: a modal file dialog. Leaves the chosen path (or "") in
  // file and the chosen folder in dir; extensions is a space-separated list.
  virtual void PromptForFile(BASE_String* file, EFileAction action, BASE_String* dir = nullptr,
                             const char* extensions = "") = 0;
  // 16. Platform: a colour dialog; false when nothing was chosen.
  virtual bool PromptForColor(IColor* color, const char* prompt = "") = 0;
  // 17. Platform: opens the address in the user's browser; true on success.
  virtual bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
                       const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) = 0;
  // 18. Platform: opens the editor's view inside the host's parent window
  // (closing an open one first); the view, or null on failure. Derived
  // classes that override one OpenWindow bring the other into scope with
  // a using-declaration.
  virtual void* OpenWindow(void* parent) = 0;
  // 19. Null here.
  virtual void* OpenWindow(void* window, void* control, short leftOffset, short topOffset);
  // 20-21. Nothing here.
  virtual void AttachSubWindow(void* hostWindow);
  virtual void RemoveSubWindow();
  // 22. Platform: closes the view; nothing when none is open.
  virtual void CloseWindow() = 0;
  // 23. Platform: the open view, or null.
  virtual void* GetWindow() = 0;
  // 24. Platform: the clipboard's text into str; false (str "") when none.
  virtual bool GetTextFromClipboard(BASE_String* str) = 0;
  // 25. Deletes the key catcher, every control from the last to the first,
  // then the drawing bitmaps. Loaded bitmaps stay in the cache.
  virtual ~IGraphics();
  // 26-27. Nothing here.
  virtual void HideMouseCursor();
  virtual void ShowMouseCursor();
  // 28. Platform: re-registers the tooltip areas of the visible controls.
  virtual void UpdateTooltips() = 0;
  // 29. Platform: loads the named image (the id is a resource id the
  // platform may ignore); a new bitmap the caller owns, or null.
  virtual PIX_IBitmap* OSLoadBitmap(int id, const char* name) = 0;

  // Operations the plug-in core and the host adapter call, virtual so that
  // they link without the editor library.

  // Editor thread, or the attaching thread inside AttachGraphics. The
  // plug-in, host or a state restore changed a parameter: every control
  // bound to it (and every control that has it as an auxiliary parameter)
  // gets the normalized value. normalized false converts a plain value.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  // Any thread, no lock, no allocation: leaves the parameter's value for
  // the next timer step (plain values are normalized here). Host paths use
  // this, never SetParameterFromPlug.
  virtual void PostParameterFromPlug(int paramIdx, double value, bool normalized);
  // Attaching thread, plug-in mutex held (AttachGraphics), or editor thread
  // (Resize): drops the drawing bitmaps so that the next use makes them at
  // the editor's size.
  virtual void PrepDraw();
  // Editor thread, without the plug-in mutex: the host's idle call for the
  // editor. The base runs one TimerStep; a platform pumps its events and
  // runs TimerStep at most at the frame rate.
  virtual void OnEditIdle();

  // ---- Construction and attachment (constructor thread) ----

  // Loads the image as one vertical frame and inserts an unbound
  // IBitmapControl of one frame's size at (0, 0) with blend method 1 as
  // index 0, moving every attached control up by one.
  void AttachBackground(int id, const char* name);
  // Inserts at index 0 an IPanelControl over the whole editor filling with
  // the colour, blend method 0.
  void AttachPanelBackground(const IColor* color);
  // Appends the control (the editor takes ownership) and returns its index;
  // -1 (control deleted) when the list could not grow.
  int AttachControl(IControl* control);
  // The control that takes keys no other control takes (ownership passes;
  // it is not put into the list). Replaces and deletes an earlier one.
  void AttachKeyCatcher(IControl* control);

  // ---- Timer step and drawing pass (editor thread) ----

  // One tick: hands posted parameter values to the controls
  // (TakePostedParameters), OnGUIIdle, and while the window is open asks
  // IsDirty and Draws the dirty area. True when something was drawn; the
  // area is stored into drawn when given.
  bool TimerStep(IRECT* drawn = nullptr);
  // Hands every posted parameter value to SetParameterFromPlug.
  void TakePostedParameters();
  // Accumulates the union of the dirty controls' rectangles into r (which
  // the caller passes empty); true if any control is dirty.
  bool IsDirty(IRECT* r);
  // Redraws the controls the strict or loose rule selects into the draw
  // bitmap, then DrawScreen(r). True without a screen copy when there are
  // no controls.
  bool Draw(IRECT* r);
  // Stores the flag, then marks every control dirty.
  void SetStrictDrawing(bool strict);
  void SetAllControlsDirty();
  // Every control's OnGUIIdle, in list order.
  void OnGUIIdle();

  // ---- Input (editor thread, editor coordinates) ----

  void OnMouseDown(int x, int y, IMouseMod* mod);
  void OnMouseUp(int x, int y, IMouseMod* mod);
  void OnMouseDrag(int x, int y, IMouseMod* mod);
  // True when the control takes a double click as a press (it is then
  // captured).
  bool OnMouseDblClick(int x, int y, IMouseMod* mod);
  // d: whole wheel steps.
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d);
  // Hover; false (nothing done) unless mouse-over handling is on.
  bool OnMouseOver(int x, int y, IMouseMod* mod);
  // The pointer left the view.
  void OnMouseOut();
  // key: an EKeyCode. False when no control took it, so the platform can
  // pass it on to the host.
  bool OnKeyDown(int x, int y, int key);
  void ReleaseMouseCapture();
  // The captured control, else the topmost visible control under the point
  // that passes the grey test (hover lets greyed controls with their
  // mouse-over-when-greyed flag through); -1 for none.
  int GetMouseControlIdx(int x, int y, bool forHover = false);

  // ---- Parameters and controls (editor thread) ----

  // Control idx gets the value as from the plug-in; nothing outside the list.
  void SetControlFromPlug(int controlIdx, double normalizedValue);
  // Every control bound to the parameter takes the value as user input.
  void SetParameterFromGUI(int paramIdx, double normalizedValue);
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  // Every control bound to the parameter keeps its value within [lo, hi]
  // (plain values converted unless normalized).
  void ClampControl(int paramIdx, double lo, double hi, bool normalized);
  // Every bound control's tooltip becomes its parameter's name.
  void AssignParamNameToolTips();
  // A menu of the display texts (enumerations, and booleans with display
  // texts) or an in-place text field over textRect; nothing when an
  // argument is missing. Takes the plug-in mutex only to read the current
  // value, never while the menu is shown.
  void PromptUserInput(IControl* control, IParam* param, IRECT* textRect);
  // The text typed for the parameter, as the control's user input:
  // enumerations and booleans match a display text (none matching: 0),
  // others read the decimal number the text starts with (none: 0; a point
  // separates the decimals whatever the locale), its sign turned for a
  // negated display.
  void SetFromStringAfterPrompt(IControl* control, IParam* param, const char* text);
  // The parameter of the control under the point (-1 over the background
  // or nothing); remembered for the next query.
  int GetParamIdxForPTAutomation(int x, int y);
  // The remembered parameter; resets it to -1.
  int GetLastClickedParamForPTAutomation();
  // Copies the parameter's value under the plug-in mutex and formats its
  // texts after releasing it; false for an index that names no parameter.
  // Drawing reads parameters only through this.
  bool SnapshotParam(int paramIdx, ParamSnapshot* snapshot);

  // ---- Images (editor or constructor thread) ----

  // The cached image for the id, or the platform's load of it added to the
  // cache. A failed load gives an IBitmap without data of size 0 x 0 (drawn
  // as nothing) and leaves no cache entry. frames below 1 count as 1.
  IBitmap LoadIBitmap(int id, const char* name, int frames = 1, bool framesAreHorizontal = false);
  // Hands the bitmap's data to the cache (id -1); holding it twice is harmless.
  void RetainBitmap(IBitmap* bitmap);
  // Removes the bitmap's data from the cache and deletes it; the IBitmap
  // passed is left without data (other copies of it must not be drawn).
  void ReleaseBitmap(IBitmap* bitmap);
  // A bilinear-scaled copy of w x h, held by the cache; frames vertical.
  // An empty size (or a source without data) gives an IBitmap without data.
  IBitmap ScaleBitmap(IBitmap* bitmap, int w, int h);
  // A copy of the area r, held by the cache; frames vertical. Where r lies
  // outside the source the copy is transparent black.
  IBitmap CropBitmap(IBitmap* bitmap, IRECT* r);
  // The draw bitmap's first pixel (made now if needed); null without one.
  PIX_pixel* GetBits();

  // ---- Drawing (editor thread, inside a drawing pass) ----
  // Every operation draws into the draw bitmap and returns true. Bitmap
  // blits are clipped to the draw rectangle of the pass; shapes are not.
  // A null blend means full weight, blended by source alpha. A missing
  // colour, rectangle or image draws nothing; float coordinates are
  // truncated toward zero with values no int holds (and NaN) kept outside
  // the bitmap.

  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend = nullptr);
  // frame counts from 1; frames below 2 (or a one-frame image) draw the first.
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int frame = 1, const IChannelBlend* blend = nullptr);
  // angle in radians about (cx, cy); not clipped to the draw rectangle.
  bool DrawRotatedBitmap(IBitmap* bitmap, int cx, int cy, double angle, int yOffsetZeroDeg = 0,
                         const IChannelBlend* blend = nullptr);
  // The mask and top images turned by angle (degrees) over the base, drawn
  // at (x, y).
  bool DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                       const IChannelBlend* blend = nullptr);
  bool DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend = nullptr,
                 bool aa = false);
  // Stores the colour straight into the pixel; points outside are ignored.
  bool ForcePixel(const IColor* color, int x, int y);
  IColor GetPoint(int x, int y);
  bool DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                const IChannelBlend* blend = nullptr, bool aa = false);
  // Angles in radians as the rasteriser defines them.
  bool DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
               const IChannelBlend* blend = nullptr, bool aa = false);
  bool DrawCircle(const IColor* color, float cx, float cy, float r, const IChannelBlend* blend = nullptr,
                  bool aa = false);
  bool RoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius, bool aa);
  bool FillRoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius, bool aa);
  bool FillIRect(const IColor* color, IRECT* r, const IChannelBlend* blend = nullptr);
  bool FillCircle(const IColor* color, int cx, int cy, float r, const IChannelBlend* blend = nullptr,
                  bool aa = false);
  bool FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                    IChannelBlend* blend = nullptr);
  bool FillIConvexPolygon(const IColor* color, int* x, int* y, int nPoints,
                          const IChannelBlend* blend = nullptr);
  // The four edges, copy mode, no antialiasing.
  bool DrawRect(const IColor* color, IRECT* r);
  bool DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi);
  bool DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi);
  // x (0-1, clamped) across r from the left; y (0-1, clamped) up r from the bottom.
  bool DrawVerticalLine(const IColor* color, IRECT* r, float x);
  bool DrawHorizontalLine(const IColor* color, IRECT* r, float y);
  // angle in radians, 0 pointing up, growing clockwise.
  bool DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                      const IChannelBlend* blend = nullptr, bool aa = false);
  // Draws (or with measure, measures into r) the text; false when no font
  // can be made. A null or empty text draws nothing and is true.
  bool DrawIText(IText* text, const char* str, IRECT* r, bool measure = false);
  // The cached font for the text (stored into its cached-font field), made
  // and cached when missing; null when the platform has no such font. A
  // face whose line height comes out unlike the size asked is made once
  // more at the height that should give it. Takes the font cache's mutex
  // for the lookup and the add.
  PIX_IFont* CacheFont(IText* text);

  // ---- Accessors ----

  // Any thread (the host adapter reads the size under the plug-in mutex).
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  IEffectBase* GetPlug() const { return mPlug; }
  // Editor thread from here on.
  int NControls() const { return mControls.GetSize(); }
  // Null outside the list.
  IControl* GetControl(int idx) const { return mControls.Get(idx); }
  IControl* GetKeyCatcher() const { return mKeyCatcher; }
  const IRECT& GetDrawRECT() const { return mDrawRECT; }
  int GetMouseCapture() const { return mMouseCapture; }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  bool GetStrictDrawing() const { return mStrict; }
  void HandleMouseOver(bool canHandle) { mHandleMouseOver = canHandle; }
  bool CanHandleMouseOver() const { return mHandleMouseOver; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void ShowControlBounds(bool show) { mShowControlBounds = show; }
  bool ShowsControlBounds() const { return mShowControlBounds; }
  // The draw bitmap, made now at the editor's size if needed; null when
  // it cannot be made.
  PIX_SysBitmap* GetDrawBitmap();

protected:
  BASE_PtrList<IControl> mControls;
  IEffectBase* mPlug;
  IRECT mDrawRECT;  // clip rectangle of the drawing pass in progress
  bool mCursorHidden = false;
  int mHiddenMousePointX = -1, mHiddenMousePointY = -1;  // where the cursor was hidden
  PIX_SysBitmap* mDrawBitmap = nullptr;
  PIX_MemBitmap* mTmpBitmap = nullptr;  // scratch for masked rotation
  int mWidth, mHeight;
  int mFPS;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = 0, mMouseY = 0;
  int mLastClickedParam = -1;
  bool mHandleMouseOver = false;
  bool mStrict = true;
  bool mEnableTooltips = false;
  bool mShowControlBounds = false;
  IControl* mKeyCatcher = nullptr;
  IParamMailbox mPostedParams;

private:
  void DeleteControls();
  void DeleteDrawBitmaps();
  void DrawStrict(IRECT* r);
  void DrawBackgroundAndAll();
  void DrawDirtyOverlaps();
  // The parameter a press on the control opens a host gesture for; -1 when
  // the control is unbound or its index names no parameter.
  int GestureParam(IControl* control);
  void CaptureMouse(int controlIdx, int x, int y);
  // Shows the parameter's display texts, current (the displayed value)
  // checked, and hands the chosen one to the control.
  void PromptFromMenu(IControl* control, IParam* param, IRECT* textRect, const char* current);
  // Blits src's area at (srcX, srcY) onto dest clipped to the draw
  // rectangle, the source offset moving with the clipped edges.
  bool BlitClipped(PIX_IBitmap* src, const IRECT* dest, int srcX, int srcY, const IChannelBlend* blend);
  // Calls fn(control) for every control bound to the parameter, in order.
  template <class Fn>
  void ForEachControlOf(int paramIdx, Fn fn);
  // The parameter's normalized value for a plain one; the value itself
  // when the index names no parameter.
  double NormalizedValue(int paramIdx, double value);
};
