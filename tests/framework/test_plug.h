#pragma once
// A plug-in on the bare base for tests: the host-facing operations record
// what the base asked of them.

#include <string>
#include <vector>

#include "framework/IEffectBase.h"
#include "framework/IMidiMsg.h"

constexpr int FourChars(char a, char b, char c, char d) { return (a << 24) | (b << 16) | (c << 8) | d; }
constexpr int kTestUniqueID = FourChars('Q', 'r', 'y', '1');

class TestPlug : public IEffectBase {
public:
  TestPlug(int nParams, const char* channelIO, int nPresets, bool stateChunks = false,
           const char* name = "Test")
      : IEffectBase(nParams, channelIO, nPresets, name, "Test Product", "Test Maker", 0x10000, kTestUniqueID,
                    FourChars('L', 'm', 'n', 'f'), 0, false, stateChunks, false, kAPIVST2)
  {
  }

  void OnParamChange(int paramIdx) override
  {
    IEffectBase::OnParamChange(paramIdx);
    paramChanges.push_back(paramIdx);
  }
  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int idx, double normalized) override { informed.push_back({idx, normalized}); }
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override { ++programChanges; }
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return tempo; }
  void GetTimeSig(int* num, int* den) override { *num = 4, *den = 4; }
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg* msg) override
  {
    sentMidi.push_back(*msg);
    return msg->mData1 != 0xFF;  // a marker byte makes a send fail
  }
  void PresetsChangedByHost() override { ++presetChanges; }

  // The input and output data pointers the base hands to processing.
  double* InSlot(int i) { return Inputs().Slot(i); }
  double* OutSlot(int i) { return Outputs().Slot(i); }
  int ChannelIOCount() { return NChannelIO(); }

  std::vector<int> paramChanges;
  std::vector<std::pair<int, double>> informed;
  std::vector<IMidiMsg> sentMidi;
  int programChanges = 0;
  int presetChanges = 0;
  double tempo = 0.0;
};

// The effect's shape: output level in dB, two knob positions, a bypass.
inline void InitQuarryParams(IEffectBase* plug)
{
  plug->GetParam(3)->InitInt("Bypass", 0, 0, 1);
  plug->GetParam(2)->InitDouble("GainL", 0.3, 0.0, 1.0, 0.01);
  plug->GetParam(1)->InitDouble("GainM", 0.7, 0.0, 1.0, 0.01);
  plug->GetParam(0)->InitDouble("OUT", -30.0, -40.0, 0.0, 0.01);
}

struct QuarryLikePlug : TestPlug {
  explicit QuarryLikePlug(bool stateChunks = false) : TestPlug(4, "1-1 2-2", 1, stateChunks, "Quarry")
  {
    InitQuarryParams(this);
    MakeDefaultPreset("-", 1);
    EnsureDefaultPreset();
  }
};
