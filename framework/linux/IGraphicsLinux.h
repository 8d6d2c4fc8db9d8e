#pragma once
// The editor on Linux: an X11 child window inside the window the host gives
// at effEditOpen, fed by the host's effEditIdle calls. It supplies what the
// platform-neutral editor leaves open: the window, the screen copy, the
// images built into the plug-in, the desktop's dialogs, popup menus, the
// in-place text field, tooltips, paths, the clipboard and the cursor. The
// window's own work (event translation, the tick, the text field and the
// menus) is done by its view, IGraphicsLinuxView.
//
// This header names no X11 type, so an effect can build its editor with it
// (or with MakeGraphics) without the X11 headers.
//
// Threads: construction and destruction run on the plug-in's constructing
// and closing thread with no other call in flight. Everything else runs on
// the host's user-interface thread (the one that sends effEditOpen,
// effEditIdle and effEditClose), without the plug-in mutex: the editor
// opens its own X display connection there when its window opens, uses it
// on no other thread and closes it when the window closes. The editor makes
// no threads; the audio thread never reaches it. OSLoadBitmap may run on
// the constructing thread: the bitmaps it returns decode their pixels on
// first use, safely against concurrent first uses (LinuxLazyBitmap).

#include "base/string.h"
#include "framework/editor/IGraphics.h"

class IEffectBase;
class IGraphicsLinuxView;

class IGraphicsLinux : public IGraphics {
public:
  // Constructor thread: the base editor, no window, no display connection.
  IGraphicsLinux(IEffectBase* plug, int w, int h, int fps = 0);
  // Closes the window (and the display connection) if one is open.
  ~IGraphicsLinux() override;

  // The identifier naming the set of images built into the plug-in
  // ("com.Lumenfold.vst.Quarry"). Constructor thread.
  void SetBundleID(const char* bundleID);
  const char* GetBundleID() const { return mBundleID.Get(); }

  // Copies the area r of the draw bitmap (clipped to it) to the window,
  // with the open text field drawn over it; false without a window.
  bool DrawScreen(IRECT* r) override;
  // Closes the open text field without committing it.
  void ForceEndUserEdit() override;
  // Nothing when the size is unchanged; otherwise the base Resize (which
  // drops the controls) and the window takes the new size.
  void Resize(int w, int h) override;
  // "X11 GUI".
  const char* GetGUIAPI() override;
  // Through zenity, else kdialog; 0 without either (never blocks then).
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  // Releases the mouse capture, then shows the menu under r and runs its
  // own event loop until an item is chosen or the menu is dismissed. Null
  // without a window or when nothing was chosen.
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* r) override;
  // Opens the text field over r; nothing without a window or while one is
  // open.
  void CreateTextEntry(IControl* control, IText* text, IRECT* r, const char* str, IParam* param) override;
  // The folder of the loaded plug-in module followed by "/".
  void PluginPath(BASE_String* path) override;
  // The plug-in module's own path.
  void HostPath(BASE_String* path) override;
  void DesktopPath(BASE_String* path) override;
  void AppSupportPath(BASE_String* path, bool isSystem = false) override;
  void SandboxSafeAppSupportPath(BASE_String* path) override;
  // Without a window file becomes "" at once; otherwise the desktop's file
  // dialog (nothing chosen without a dialog program).
  void PromptForFile(BASE_String* file, EFileAction action, BASE_String* dir = nullptr,
                     const char* extensions = "") override;
  // Not offered: false, the colour unchanged.
  bool PromptForColor(IColor* color, const char* prompt = "") override;
  // xdg-open with the address; true when it could be started.
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  using IGraphics::OpenWindow;
  // parent: the host's X11 Window id (0 opens a top-level window of its
  // own). Closes an open window first. The view, or null when no display
  // connection or window could be made.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetTextFromClipboard(BASE_String* str) override;
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  // Remembers the target rectangles of the visible controls as tooltip
  // areas, when tooltips are enabled and a window is open.
  void UpdateTooltips() override;
  // A png image of the bundle: from a resources/img/ folder beside the
  // plug-in module when it holds the file, else built into the module. The
  // bitmap knows its size at once and decodes on first use. Null for other
  // names and images found nowhere. The id is not used.
  PIX_IBitmap* OSLoadBitmap(int id, const char* name) override;
  // Pumps the window's pending X events and runs the timer step at most
  // at the frame rate. Nothing without a window.
  void OnEditIdle() override;

  // The kernel release as 0xVVVVRRMM.
  int GetUserOSVersion();

  // Tests and benchmarks: keep the screen copy off shared memory (takes
  // effect at the next OpenWindow).
  void SetAllowSharedMemory(bool allow) { mAllowShm = allow; }
  // The open view, or null (the same as GetWindow, typed).
  IGraphicsLinuxView* GetView() const { return mView; }

private:
  IGraphicsLinuxView* mView = nullptr;
  BASE_String mBundleID;
  bool mAllowShm = true;
};

// Makes the Linux editor of the given size and frame rate (0: 25) for the
// plug-in and gives it the plug-in's bundle identifier. Constructor thread.
IGraphicsLinux* MakeGraphics(IEffectBase* plug, int w, int h, int fps = 0);
