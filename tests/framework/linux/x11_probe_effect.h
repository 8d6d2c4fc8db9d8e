#pragma once
// The probe plug-in with the X11 editor, for testing the platform through
// a loaded module the way a host meets it. Its editor (320 x 200) holds
// controls that call each platform service when clicked and report what
// the service answered back to the host, through the host callback
// (audioMasterVendorSpecific with a report kind as the index, a number as
// the value, a text as the pointer and a number as opt).
//
// Layout (editor coordinates):
//   Gain knob (TON.png strip, 64 x 64) at 10,10; right click types a value;
//     tooltip "Gain"
//   Mode line knob 90,10 - 154,74; right click chooses from a menu
//   menu button 170,10 - 230,40; message box 170,50 - 230,80
//   open file 240,10 - 310,40; save file 240,50 - 310,80
//   URL 10,90 - 70,120; text without a parameter 80,90 - 200,120
//   mouse log 210,90 - 310,190; paths and version 10,130 - 70,190
//   a key catcher behind all of them.

#include "tests/framework/vst/probe_effect.h"

// What a report carries (the index of audioMasterVendorSpecific).
enum EProbeReport {
  kReportMenu = 9001,    // value: chosen index (-1 none); text: "main", "sub" or ""
  kReportMessageBox,     // value: the answer
  kReportFile,           // value: the action; text: file, a newline, the folder
  kReportURL,            // value: 1 when opened
  kReportText,           // text: what the field committed
  kReportMouseDown,      // value: modifier bits (below); opt: x * 1000 + y
  kReportMouseDblClick,  // as mouse down
  kReportMouseUp,        // as mouse down
  kReportWheel,          // value: the steps; opt: modifier bits
  kReportKey,            // value: the key code
  kReportPaths,          // text: GUI API, plug-in path, host path, each on a line; value: OS version
};

// Modifier bits of a mouse report.
enum { kModL = 1, kModR = 2, kModS = 4, kModC = 8, kModA = 16 };

class ProbeX11Effect : public ProbeEffect {
public:
  static const int kEditorWidth = 320;
  static const int kEditorHeight = 200;

  explicit ProbeX11Effect(IEffectInstanceInfo info);

  // Sends a report to the host.
  void Report(int kind, int value, const char* text = "", float opt = 0.0f);
};
