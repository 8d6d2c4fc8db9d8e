#include "tests/framework/editor/headless_graphics.h"

#include <strings.h>

#include <chrono>
#include <thread>

#include "framework/editor/IPopupMenu.h"
#include "framework/editor/controls/IControl.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_png.h"
#include "pix/pix_sysbitmap.h"

namespace {

bool EndsWithPNG(const std::string& name)
{
  return name.size() >= 4 && !strcasecmp(name.c_str() + name.size() - 4, ".png");
}

std::string LastPart(const std::string& name)
{
  const size_t slash = name.rfind('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace

HeadlessGraphics::HeadlessGraphics(IEffectBase* plug, int w, int h, int fps) : IGraphics(plug, w, h, fps) {}

HeadlessGraphics::~HeadlessGraphics() { CloseWindow(); }

bool HeadlessGraphics::DrawScreen(IRECT* r)
{
  if (!mWindow) return false;
  screenRects.push_back(*r);
  ++mWindow->screenCopies;
  if (mWindow->keepScreen && GetBits())
    mWindow->CopyToScreen(GetBits(), GetDrawBitmap()->getRowSpan(), Width(), Height(), *r);
  if (mWindow->holdScreenCopy) {
    mWindow->screenCopyWaiting = true;
    while (mWindow->holdScreenCopy) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    mWindow->screenCopyWaiting = false;
  }
  return true;
}

void HeadlessGraphics::ForceEndUserEdit()
{
  calls.push_back("ForceEndUserEdit");
  textEntry.open = false;
}

int HeadlessGraphics::ShowMessageBox(const char*, const char*, int)
{
  calls.push_back("ShowMessageBox");
  return messageBoxAnswer;
}

IPopupMenu* HeadlessGraphics::CreateIPopupMenu(IPopupMenu* menu, IRECT* r)
{
  calls.push_back("CreateIPopupMenu");
  ReleaseMouseCapture();
  shownMenu.clear();
  shownMenuChecked.clear();
  shownMenuRect = r ? *r : IRECT();
  for (int i = 0; i < menu->GetNItems(); ++i) {
    shownMenu.push_back(menu->GetItemText(i));
    shownMenuChecked.push_back(menu->IsItemChecked(i));
  }
  if (menuChoice < 0 || menuChoice >= menu->GetNItems()) return nullptr;
  menu->SetChosenItemIdx(menuChoice);
  return menu;
}

void HeadlessGraphics::CreateTextEntry(IControl* control, IText*, IRECT* r, const char* str, IParam* param)
{
  calls.push_back("CreateTextEntry");
  if (!control || textEntry.open) return;
  textEntry.control = control;
  textEntry.param = param;
  textEntry.rect = r ? *r : IRECT();
  textEntry.text = str ? str : "";
  textEntry.open = true;
}

void HeadlessGraphics::CommitTextEntry(const char* text)
{
  if (!textEntry.open) return;
  textEntry.open = false;
  if (textEntry.param) SetFromStringAfterPrompt(textEntry.control, textEntry.param, text);
  else textEntry.control->TextFromTextEntry(text);
}

void HeadlessGraphics::HostPath(BASE_String* path) { path->Set("/headless/host"); }
void HeadlessGraphics::PluginPath(BASE_String* path) { path->Set("/headless/"); }
void HeadlessGraphics::DesktopPath(BASE_String* path) { path->Set("/headless/Desktop"); }
void HeadlessGraphics::AppSupportPath(BASE_String* path, bool isSystem)
{
  path->Set(isSystem ? "/headless/system" : "/headless/user");
}
void HeadlessGraphics::SandboxSafeAppSupportPath(BASE_String* path) { path->Set("/headless/Music"); }

void HeadlessGraphics::PromptForFile(BASE_String* file, EFileAction, BASE_String* dir, const char*)
{
  calls.push_back("PromptForFile");
  file->Set(fileChoice.c_str());
  if (dir && !fileChoice.empty()) {
    const size_t slash = fileChoice.rfind('/');
    dir->Set(fileChoice.substr(0, slash == std::string::npos ? 0 : slash + 1).c_str());
  }
}

bool HeadlessGraphics::PromptForColor(IColor*, const char*)
{
  calls.push_back("PromptForColor");
  return false;
}

bool HeadlessGraphics::OpenURL(const char* url, const char*, const char*, const char*)
{
  calls.push_back("OpenURL");
  urls.push_back(url ? url : "");
  return urlOpens;
}

void* HeadlessGraphics::OpenWindow(void* parent)
{
  CloseWindow();
  mWindow = parent ? static_cast<HeadlessWindow*>(parent) : &mOwnWindow;
  ++mWindow->opens;
  return mWindow;
}

void HeadlessGraphics::CloseWindow()
{
  if (!mWindow) return;
  ++mWindow->closes;
  mWindow = nullptr;
}

void* HeadlessGraphics::GetWindow() { return mWindow; }

bool HeadlessGraphics::GetTextFromClipboard(BASE_String* str)
{
  str->Set(clipboard.c_str());
  return !clipboard.empty();
}

void HeadlessGraphics::UpdateTooltips() { calls.push_back("UpdateTooltips"); }

void HeadlessGraphics::RegisterImage(const std::string& name, int w, int h, PIX_pixel pixel, int frames)
{
  mImages[name] = Image{w, h, frames < 1 ? 1 : frames, pixel};
}

PIX_IBitmap* HeadlessGraphics::OSLoadBitmap(int, const char* name)
{
  ++osLoads;
  const std::string n = name ? name : "";
  const auto found = mImages.find(n);
  if (found != mImages.end()) {
    const Image& image = found->second;
    PIX_MemBitmap* bitmap = new PIX_MemBitmap(image.w, image.h);
    const int frameH = image.h / image.frames;
    for (int i = 0; i < image.frames; ++i)
      PIX_FillRect(bitmap, 0, i * frameH, image.w, frameH, image.pixel + static_cast<PIX_pixel>(i));
    return bitmap;
  }
  if (imageFolder.empty() || !EndsWithPNG(n)) return nullptr;
  return PIX_LoadPNG((imageFolder + "/" + LastPart(n)).c_str());
}

void HeadlessGraphics::OnEditIdle()
{
  if (mWindow) {
    ++mWindow->idles;
    for (HeadlessEvent& e : mWindow->TakeEvents()) Deliver(e);
  }
  IGraphics::OnEditIdle();
}

void HeadlessGraphics::Deliver(HeadlessEvent& e)
{
  switch (e.kind) {
    case HeadlessEvent::kDown:
      OnMouseDown(e.x, e.y, &e.mod);
      break;
    case HeadlessEvent::kDrag:
      OnMouseDrag(e.x, e.y, &e.mod);
      break;
    case HeadlessEvent::kUp:
      OnMouseUp(e.x, e.y, &e.mod);
      break;
    case HeadlessEvent::kDblClick:
      OnMouseDblClick(e.x, e.y, &e.mod);
      break;
    case HeadlessEvent::kWheel:
      OnMouseWheel(e.x, e.y, &e.mod, e.wheel);
      break;
  }
}
