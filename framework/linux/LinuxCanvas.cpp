#include "framework/linux/LinuxCanvas.h"

LinuxCanvas::LinuxCanvas(int w, int h) : IGraphics(nullptr, w, h) { mDrawRECT = IRECT(0, 0, w, h); }

void LinuxCanvas::HostPath(BASE_String* path) { path->Set(""); }
void LinuxCanvas::PluginPath(BASE_String* path) { path->Set(""); }
void LinuxCanvas::DesktopPath(BASE_String* path) { path->Set(""); }
void LinuxCanvas::AppSupportPath(BASE_String* path, bool) { path->Set(""); }
void LinuxCanvas::SandboxSafeAppSupportPath(BASE_String* path) { path->Set(""); }

void LinuxCanvas::PromptForFile(BASE_String* file, EFileAction, BASE_String*, const char*)
{
  if (file) file->Set("");
}

bool LinuxCanvas::GetTextFromClipboard(BASE_String* str)
{
  str->Set("");
  return false;
}
