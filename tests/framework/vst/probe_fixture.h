#pragma once
// One probe plug-in instance per test, created through the module's entry
// point with the recording host, opened and closed like a host would.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/framework/vst/vst_harness.h"

inline PluginModule& ProbeModule()
{
  static PluginModule module(VST_PROBE_PATH);
  return module;
}

class ProbeTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(ProbeModule().Loaded()) << ProbeModule().Error();
    RecordingHost::Get().Reset();
    e = ProbeModule().Instantiate();
    ASSERT_NE(e, nullptr);
    Dispatch(e, effOpen);
  }
  void TearDown() override { Close(e); }

  double ParamDisplayNumber(int idx) { return std::stod(DispatchText(e, effGetParamDisplay, idx)); }

  AEffect* e = nullptr;
};

// Probe parameters: Gain (-60..12 dB, step 0.1, label "dB"), Mode (enum
// Soft/Hard/Fold), Flip (bool), Depth (-10..0, negated display, label "%").
enum { kGain = 0, kMode, kFlip, kDepth };
