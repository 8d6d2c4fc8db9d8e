#pragma once
// An off-screen surface drawn with the editor's own drawing operations: the
// popup menus, the tooltip and the in-place text field are painted on one
// and then copied where they belong (their own X window, or the editor's
// draw bitmap). It is an editor without a plug-in, a window or controls;
// every platform service answers as "nothing there".
//
// Threads: the editor's thread, like the editor it draws for.

#include "framework/editor/IGraphics.h"

class PIX_SysBitmap;

class LinuxCanvas : public IGraphics {
public:
  // w x h pixels; the drawing rectangle covers all of it.
  LinuxCanvas(int w, int h);

  // The pixels (made now if needed); null when they cannot be made.
  PIX_SysBitmap* Pixels() { return GetDrawBitmap(); }

  bool DrawScreen(IRECT*) override { return true; }
  void ForceEndUserEdit() override {}
  int ShowMessageBox(const char*, const char*, int) override { return 0; }
  IPopupMenu* CreateIPopupMenu(IPopupMenu*, IRECT*) override { return nullptr; }
  void CreateTextEntry(IControl*, IText*, IRECT*, const char*, IParam*) override {}
  void HostPath(BASE_String* path) override;
  void PluginPath(BASE_String* path) override;
  void DesktopPath(BASE_String* path) override;
  void AppSupportPath(BASE_String* path, bool isSystem = false) override;
  void SandboxSafeAppSupportPath(BASE_String* path) override;
  void PromptForFile(BASE_String* file, EFileAction, BASE_String*, const char*) override;
  bool PromptForColor(IColor*, const char*) override { return false; }
  bool OpenURL(const char*, const char*, const char*, const char*) override { return false; }
  using IGraphics::OpenWindow;
  void* OpenWindow(void*) override { return nullptr; }
  void CloseWindow() override {}
  void* GetWindow() override { return nullptr; }
  bool GetTextFromClipboard(BASE_String* str) override;
  void UpdateTooltips() override {}
  PIX_IBitmap* OSLoadBitmap(int, const char*) override { return nullptr; }
};
