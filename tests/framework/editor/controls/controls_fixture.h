#pragma once
// A plug-in with a parameter of each kind controls show, a headless editor
// to attach controls to, and helpers to draw and read the draw bitmap.
//
// Threads: the test's thread is the editor's thread.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/IParam.h"
#include "framework/editor/controls/IControl.h"
#include "pix/pix_sysbitmap.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

enum ControlsParam { kLevel = 0, kGain, kBypass, kMode, kPos, kNParams };

// Level: -60..12 dB in 0.1 steps, at 12.0. Gain: 0..1 at 0.7. Bypass: 0..1
// integer. Mode: three named values. Pos: 0..1 at 0.25.
struct ControlsPlug : TestPlug {
  ControlsPlug() : TestPlug(kNParams, "1-1", 1)
  {
    GetParam(kLevel)->InitDouble("Level", 12.0, -60.0, 12.0, 0.1, "dB");
    GetParam(kGain)->InitDouble("Gain", 0.7, 0.0, 1.0, 0.01);
    GetParam(kBypass)->InitInt("Bypass", 0, 0, 1);
    GetParam(kMode)->InitEnum("Mode", 0, 3);
    GetParam(kMode)->SetDisplayText(0, "soft");
    GetParam(kMode)->SetDisplayText(1, "hard");
    GetParam(kMode)->SetDisplayText(2, "fold");
    GetParam(kPos)->InitDouble("Pos", 0.25, 0.0, 1.0, 0.001);
  }
};

// Colours of the test images: frame i (from 1) of a strip made by Strip
// is the strip's pixel + i - 1.
inline constexpr PIX_pixel kBackground = 0xFF203040u;

class ControlsTest : public ::testing::Test {
protected:
  static const int kW = 200, kH = 150;

  ControlsTest() : gui(new HeadlessGraphics(&plug, kW, kH))
  {
    gui->AttachPanelBackground(&kBackgroundColor);
    plug.AttachGraphics(gui);
  }

  // Attaches the control and pushes every parameter's value the way
  // attaching the editor does, so a bound control fixes its default.
  template <class T>
  T* Attach(T* control)
  {
    gui->AttachControl(control);
    plug.AttachGraphics(gui);
    return control;
  }

  // A strip of frames of w x frameH stacked vertically, frame i filled
  // with pixel + i - 1. ids are process-wide: one id, one strip.
  IBitmap Strip(int id, int w, int frameH, int frames, PIX_pixel pixel)
  {
    const std::string name = "strip" + std::to_string(id) + ".png";
    gui->RegisterImage(name, w, frameH * frames, pixel, frames);
    return gui->LoadIBitmap(id, name.c_str(), frames);
  }

  // A pass over the whole editor.
  void DrawAll()
  {
    IRECT all(0, 0, kW, kH);
    gui->Draw(&all);
  }
  // A pass over the whole editor followed by a second one, leaving every
  // control clean.
  void DrawClean()
  {
    DrawAll();
    DrawAll();
  }

  // The colour at (x, y) of the draw bitmap (it has no alpha channel).
  uint32_t ColourAt(int x, int y)
  {
    return gui->GetBits()[y * gui->GetDrawBitmap()->getRowSpan() + x] & 0xFFFFFFu;
  }
  static uint32_t Colour(PIX_pixel p) { return p & 0xFFFFFFu; }

  // The normalized values the plug-in told the host about for a parameter.
  std::vector<double> Sent(int paramIdx) const
  {
    std::vector<double> values;
    for (const auto& call : plug.informed)
      if (call.first == paramIdx) values.push_back(call.second);
    return values;
  }

  static constexpr IColor kBackgroundColor = IColor::FromPixel(kBackground);
  ControlsPlug plug;
  HeadlessGraphics* gui;  // owned by the plug-in
  IMouseMod left{true, false};
  IMouseMod right{false, true};
  IMouseMod shift{true, false, true};
};
