#pragma once
// A platform editor without a screen, for tests. It has no window of its
// own: a test (or a test host, through effEditOpen) hands it a
// HeadlessWindow as the parent, and the editor reports into it. DrawScreen
// keeps every rectangle it gets; OSLoadBitmap loads PNG files from a folder
// through libpng or makes images a test registered; the other platform
// slots record their calls and answer as the test set them.
//
// Threads: the editor's operations run on the test's editor thread, as on
// a real platform. A HeadlessWindow's counters are atomics and its events
// and screen are guarded by its own mutex, so another thread may watch
// them, post events, and hold or release the screen copy meanwhile.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "framework/editor/IGraphics.h"

// A mouse event a test leaves in a HeadlessWindow for the editor.
struct HeadlessEvent {
  enum Kind { kDown, kDrag, kUp, kDblClick, kWheel };
  Kind kind;
  int x, y;
  int wheel = 0;  // wheel steps
  IMouseMod mod{true, false};
};

// What a test host passes as the parent window. It is also what the
// editor answers as its view.
struct HeadlessWindow {
  std::atomic<int> opens{0};
  std::atomic<int> closes{0};
  std::atomic<int> idles{0};         // host idle calls while open
  std::atomic<int> screenCopies{0};  // DrawScreen calls while open
  // While set, DrawScreen waits (with screenCopyWaiting set) until it is
  // cleared: a drawing pass that takes its time.
  std::atomic<bool> holdScreenCopy{false};
  std::atomic<bool> screenCopyWaiting{false};

  // Events for the editor, handed over on its next idle call the way a
  // platform pumps its window's events there. Any thread may post. (Inline,
  // so that a test host uses them without the editor library.)
  void Post(const HeadlessEvent& event)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mEvents.push_back(event);
  }
  std::vector<HeadlessEvent> TakeEvents()
  {
    std::lock_guard<std::mutex> lock(mMutex);
    return std::move(mEvents);
  }

  // With keepScreen set before the window opens, every screen copy puts
  // the copied area of the draw bitmap into the screen, which any thread
  // may read.
  bool keepScreen = false;
  // The screen's pixel (0xRRGGBB) at (x, y); 0 outside or before any copy.
  uint32_t ScreenPixel(int x, int y)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (x < 0 || y < 0 || x >= mScreenW || y >= mScreenH) return 0;
    return mScreen[static_cast<size_t>(y) * mScreenW + x];
  }
  void CopyToScreen(const uint32_t* bits, int rowSpan, int w, int h, const IRECT& r)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (w != mScreenW || h != mScreenH) {
      mScreen.assign(static_cast<size_t>(w) * h, 0);
      mScreenW = w;
      mScreenH = h;
    }
    for (int y = std::max(r.mT, 0); y < std::min(r.mB, h); ++y)
      for (int x = std::max(r.mL, 0); x < std::min(r.mR, w); ++x)
        mScreen[static_cast<size_t>(y) * w + x] = bits[static_cast<size_t>(y) * rowSpan + x] & 0xFFFFFFu;
  }

private:
  std::mutex mMutex;
  std::vector<HeadlessEvent> mEvents;
  std::vector<uint32_t> mScreen;
  int mScreenW = 0, mScreenH = 0;
};

class HeadlessGraphics : public IGraphics {
public:
  // A text entry the editor asked for; open until committed or ended.
  struct TextEntry {
    IControl* control = nullptr;
    IParam* param = nullptr;
    IRECT rect;
    std::string text;
    bool open = false;
  };

  HeadlessGraphics(IEffectBase* plug, int w, int h, int fps = 0);
  ~HeadlessGraphics() override;

  // ---- Platform slots ----
  bool DrawScreen(IRECT* r) override;
  void ForceEndUserEdit() override;
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* r) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* r, const char* str, IParam* param) override;
  void HostPath(BASE_String* path) override;
  void PluginPath(BASE_String* path) override;
  void DesktopPath(BASE_String* path) override;
  void AppSupportPath(BASE_String* path, bool isSystem = false) override;
  void SandboxSafeAppSupportPath(BASE_String* path) override;
  void PromptForFile(BASE_String* file, EFileAction action, BASE_String* dir = nullptr,
                     const char* extensions = "") override;
  bool PromptForColor(IColor* color, const char* prompt = "") override;
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsgOnFailure = nullptr) override;
  using IGraphics::OpenWindow;
  // parent: a HeadlessWindow, or null for the editor's own.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetTextFromClipboard(BASE_String* str) override;
  void UpdateTooltips() override;
  PIX_IBitmap* OSLoadBitmap(int id, const char* name) override;
  void OnEditIdle() override;

  // ---- What a test sets ----
  // Folder OSLoadBitmap reads "<folder>/<last part of the name>" from
  // (names ending in ".png" only).
  std::string imageFolder;
  // Registers an image by its full name: each load makes a w x h bitmap
  // filled with the pixel, or, with frames > 1, a vertical strip whose
  // frame i is filled with pixel + i.
  void RegisterImage(const std::string& name, int w, int h, PIX_pixel pixel, int frames = 1);
  int messageBoxAnswer = 0;
  int menuChoice = -1;  // the item CreateIPopupMenu chooses; -1 dismisses
  bool urlOpens = true;
  std::string clipboard;
  std::string fileChoice;  // PromptForFile's answer; "" cancels

  // ---- What a test reads ----
  std::vector<IRECT> screenRects;  // every DrawScreen rectangle, while open
  std::vector<std::string> calls;  // platform slots called, by name, in order
  std::vector<std::string> urls;
  std::vector<std::string> shownMenu;  // texts of the last menu shown
  std::vector<bool> shownMenuChecked;  // and which of them were checked
  IRECT shownMenuRect;
  int osLoads = 0;
  TextEntry textEntry;
  bool HasDrawBitmap() const { return mDrawBitmap != nullptr; }
  // The clip rectangle a drawing pass would set, for drawing outside one.
  void SetDrawRECT(const IRECT& r) { mDrawRECT = r; }
  HeadlessWindow* Window() { return mWindow; }
  // Commits the open text entry with the text, as a user pressing Return.
  void CommitTextEntry(const char* text);

private:
  void Deliver(HeadlessEvent& event);
  struct Image {
    int w, h, frames;
    PIX_pixel pixel;
  };
  HeadlessWindow mOwnWindow;
  HeadlessWindow* mWindow = nullptr;
  std::map<std::string, Image> mImages;
};
