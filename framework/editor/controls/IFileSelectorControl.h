#pragma once
// A file chooser: a press opens the editor's file dialog (blocking until it
// closes), keeps the chosen path and folder, and flips the value so that
// every selection reaches the plug-in as a change. The bitmap shows while
// the dialog is open.
//
// Threads: the editor's thread, as every control (IControl.h).

#include "base/string.h"
#include "framework/editor/IBitmap.h"
#include "framework/editor/IGraphics.h"
#include "framework/editor/controls/IControl.h"

class IFileSelectorControl : public IControl {
public:
  enum EFileSelectorState { kFSNone = 0, kFSSelecting = 1, kFSDone = 2 };

  // dir: the folder the dialog starts in; extensions: a space-separated list.
  IFileSelectorControl(IEffectBase* plug, IRECT rect, int paramIdx, IBitmap* bitmap, EFileAction action,
                       const char* dir = "", const char* extensions = "");

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;
  // Also true once after a selection completes.
  bool IsDirty() override;

  void GetLastSelectedFileForPlug(BASE_String* str) const;
  void SetLastSelectedFileFromPlug(const char* file);
  EFileSelectorState GetState() const { return mState; }

protected:
  IBitmap mBitmap;
  BASE_String mDir;
  BASE_String mFile;
  BASE_String mExtensions;
  EFileAction mFileAction;
  EFileSelectorState mState = kFSNone;
};
