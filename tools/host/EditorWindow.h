#pragma once
// The host side of a plug-in editor on X11, as Linux hosts do it: a
// top-level window of the size the plug-in reports (effEditGetRect) that
// the plug-in's editor opens itself in (effEditOpen with the window's id),
// an event loop of the host's own on its own display connection, and the
// editor's idle call (effEditIdle) every 40 ms. The plug-in opens its own
// display connection; the two meet only through the window id.
//
// Threads: main thread only, like the plug-in's editor calls it makes.

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/HostedPlugin.h"

class EditorWindow : public HostedPluginListener {
public:
  enum { kIdleIntervalMs = 40 };

  // Connects to the X display named by DISPLAY; null with a one-line
  // reason when there is none. The window becomes the plug-in's listener.
  static std::unique_ptr<EditorWindow> Open(HostedPlugin* plugin, std::string* error);
  // Closes the editor if it is open, destroys the window and disconnects.
  ~EditorWindow() override;
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // Makes the window at the editor's size with the title, maps it and
  // opens the editor in it. pinned puts the window at the top-left corner
  // of the screen, above others and past any window manager, so that its
  // pixels can be read back whole. False with a reason when the plug-in
  // cannot open its editor.
  bool ShowEditor(const std::string& title, bool pinned, std::string* error);
  // Handles the window's pending events and calls effEditIdle once.
  void Tick();
  // Ticks every kIdleIntervalMs until the user closes the window (or
  // SIGINT, SIGTERM or SIGHUP arrives), then closes the editor.
  void RunUntilClosed();
  // Ticks until the window's pixels stay the same from one tick to the
  // next (at least minTicks ticks, at most maxTicks) and returns them as
  // 0x00RRGGBB, row by row; false with a reason when they cannot be read.
  bool CaptureSettled(int minTicks, int maxTicks, std::vector<uint32_t>* pixels, std::string* error);
  // effEditClose, once.
  void CloseEditor();

  int Width() const { return m_width; }
  int Height() const { return m_height; }

  // Called for each parameter change the plug-in reports.
  void SetAutomationHandler(std::function<void(int, float)> handler) { m_onAutomate = std::move(handler); }

  void OnAutomate(int index, float value) override;
  bool OnSizeWindow(int width, int height) override;

private:
  EditorWindow(HostedPlugin* plugin, Display* display);
  // The editor's size from effEditGetRect; false when it reports none.
  bool EditorSize(int* width, int* height);
  void HandleEvent(const XEvent& event);
  bool ReadPixels(std::vector<uint32_t>* pixels, std::string* error);
  void WaitForMap();

  HostedPlugin* m_plugin;
  Display* m_display;
  Window m_window = 0;
  Atom m_wmDelete = 0;
  int m_width = 0, m_height = 0;
  bool m_editorOpen = false;
  bool m_closeRequested = false;
  std::function<void(int, float)> m_onAutomate;
};
