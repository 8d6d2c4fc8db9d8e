#include "framework/linux/IGraphicsLinux.h"

#include <cstdint>
#include <new>

// Before anything that includes Xlib, whose macros clash with their names.
#include "framework/Log.h"
#include "framework/editor/controls/IControl.h"

#include "framework/linux/IGraphicsLinuxView.h"
#include "framework/linux/LinuxDialogs.h"
#include "framework/linux/LinuxLazyBitmap.h"
#include "framework/linux/LinuxPaths.h"

IGraphicsLinux::IGraphicsLinux(IEffectBase* plug, int w, int h, int fps) : IGraphics(plug, w, h, fps) {}

IGraphicsLinux::~IGraphicsLinux() { CloseWindow(); }

void IGraphicsLinux::SetBundleID(const char* bundleID) { mBundleID.Set(bundleID ? bundleID : ""); }

// ---- Window ----

void* IGraphicsLinux::OpenWindow(void* parent)
{
  CloseWindow();
  // The host hands its parent window's X id in the pointer.
  const Window parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
  IGraphicsLinuxView* view = new (std::nothrow) IGraphicsLinuxView(this, parentWindow, mAllowShm);
  if (!view || !view->IsOpen()) {
    delete view;
    return nullptr;
  }
  mView = view;
  UpdateTooltips();
  return mView;
}

void IGraphicsLinux::CloseWindow()
{
  if (!mView) return;
  // Forgotten first, so nothing the view does while it closes finds it.
  IGraphicsLinuxView* view = mView;
  mView = nullptr;
  delete view;
  mCursorHidden = false;
}

void* IGraphicsLinux::GetWindow() { return mView; }

void IGraphicsLinux::OnEditIdle()
{
  if (!mView) return;
  mView->Idle();
  // The host destroyed the window under the editor: the view is done.
  if (mView && mView->Lost()) CloseWindow();
}

bool IGraphicsLinux::DrawScreen(IRECT* r) { return mView && r && mView->CopyToScreen(*r); }

void IGraphicsLinux::Resize(int w, int h)
{
  if (w == Width() && h == Height()) return;
  ForceEndUserEdit();
  IGraphics::Resize(w, h);
  if (mView) mView->SetSize(w, h);
}

const char* IGraphicsLinux::GetGUIAPI() { return "X11 GUI"; }

// ---- Prompts ----

void IGraphicsLinux::ForceEndUserEdit()
{
  if (mView) mView->EndUserInput();
}

int IGraphicsLinux::ShowMessageBox(const char* text, const char* caption, int type)
{
  return LinuxShowMessageBox(text, caption, type);
}

IPopupMenu* IGraphicsLinux::CreateIPopupMenu(IPopupMenu* menu, IRECT* r)
{
  ReleaseMouseCapture();
  if (!mView || !menu || !r) return nullptr;
  return mView->CreatePopupMenu(menu, *r);
}

void IGraphicsLinux::CreateTextEntry(IControl* control, IText* text, IRECT* r, const char* str, IParam* param)
{
  if (mView && r) mView->CreateTextEntry(control, text, *r, str, param);
}

void IGraphicsLinux::PromptForFile(BASE_String* file, EFileAction action, BASE_String* dir,
                                   const char* extensions)
{
  if (!file) return;
  if (!WindowIsOpen()) {
    file->Set("");
    return;
  }
  LinuxPromptForFile(file, action == kFileSave ? kLinuxFileSave : kLinuxFileOpen, dir, extensions);
}

bool IGraphicsLinux::PromptForColor(IColor*, const char*) { return false; }

bool IGraphicsLinux::OpenURL(const char* url, const char*, const char*, const char*)
{
  return LinuxOpenURL(url);
}

// ---- Paths and system ----

void IGraphicsLinux::HostPath(BASE_String* path) { LinuxHostPath(path); }
void IGraphicsLinux::PluginPath(BASE_String* path) { LinuxPluginPath(path); }
void IGraphicsLinux::DesktopPath(BASE_String* path) { LinuxDesktopPath(path); }
void IGraphicsLinux::AppSupportPath(BASE_String* path, bool isSystem) { LinuxAppSupportPath(path, isSystem); }
void IGraphicsLinux::SandboxSafeAppSupportPath(BASE_String* path) { LinuxSandboxSafeAppSupportPath(path); }

int IGraphicsLinux::GetUserOSVersion()
{
  const int version = LinuxUserOSVersion();
  TRACE("GetUserOSVersion", "%x", version);
  return version;
}

bool IGraphicsLinux::GetTextFromClipboard(BASE_String* str)
{
  if (!str) return false;
  if (mView) return mView->ReadClipboard(str);
  str->Set("");
  return false;
}

// ---- Cursor and tooltips ----

void IGraphicsLinux::HideMouseCursor()
{
  if (mCursorHidden || !mView) return;
  mView->HideCursor();
  mCursorHidden = mView->Cursor().IsHidden();
  mHiddenMousePointX = mView->Cursor().HiddenX();
  mHiddenMousePointY = mView->Cursor().HiddenY();
}

void IGraphicsLinux::ShowMouseCursor()
{
  if (!mCursorHidden || !mView) return;
  mView->ShowCursor();
  mCursorHidden = mView->Cursor().IsHidden();
}

void IGraphicsLinux::UpdateTooltips()
{
  if (!mView || !TooltipsEnabled()) return;
  mView->RemoveAllToolTips();
  for (int i = 0; i < NControls(); ++i) {
    IControl* control = GetControl(i);
    if (!control->IsHidden() && !control->GetTargetRECT()->Empty())
      mView->RegisterToolTip(*control->GetTargetRECT());
  }
}

// ---- Images ----

PIX_IBitmap* IGraphicsLinux::OSLoadBitmap(int, const char* name)
{
  LinuxImageSource source;
  if (!LinuxFindImage(mBundleID.Get(), name, &source)) return nullptr;
  return new (std::nothrow) LinuxLazyBitmap(source);
}
