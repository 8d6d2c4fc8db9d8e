// The calls the adapter makes back into the host, on a probe plug-in built
// into the test itself so its host-facing operations can be called
// directly.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/IMidiMsg.h"
#include "framework/IParam.h"
#include "framework/ISysEx.h"
#include "framework/editor/controls/IBitmapControl.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/vst/probe_effect.h"
#include "tests/framework/vst/vst_harness.h"

namespace {

class HostCallsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    RecordingHost::Get().Reset();
    IEffectInstanceInfo info;
    info.mVSTHostCallback = &RecordingHost::Callback;
    plug.reset(new ProbeEffect(info));
  }
  HostScript& Script() { return RecordingHost::Get().script; }
  void AnswerTime(double samplePos, VstInt32 flags)
  {
    Script().answerTime = true;
    Script().timeInfo = VstTimeInfo();
    Script().timeInfo.samplePos = samplePos;
    Script().timeInfo.flags = flags;
  }
  std::unique_ptr<ProbeEffect> plug;
};

TEST_F(HostCallsTest, SamplePositionIsRoundedToTheNearestSample)
{
  EXPECT_EQ(plug->GetSamplePos(), 0);  // no answer
  AnswerTime(9.6, 0);
  EXPECT_EQ(plug->GetSamplePos(), 10);
  AnswerTime(9.4, 0);
  EXPECT_EQ(plug->GetSamplePos(), 9);
  AnswerTime(-5.0, 0);
  EXPECT_EQ(plug->GetSamplePos(), 0);
  const std::vector<HostCall> asked = RecordingHost::Get().Calls(audioMasterGetTime);
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back().value, 0);
}

TEST_F(HostCallsTest, TempoAndTimeSignatureNeedTheirValidityFlags)
{
  EXPECT_EQ(plug->GetTempo(), 0.0);
  AnswerTime(0, 0);
  Script().timeInfo.tempo = 133.0;
  EXPECT_EQ(plug->GetTempo(), 0.0);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetTime).back().value, kVstTempoValid);
  Script().timeInfo.flags = kVstTempoValid;
  EXPECT_EQ(plug->GetTempo(), 133.0);
  Script().timeInfo.tempo = -1.0;
  EXPECT_EQ(plug->GetTempo(), 0.0);
  Script().timeInfo.tempo = 0.0;
  EXPECT_EQ(plug->GetTempo(), 0.0);

  int num = -1, den = -1;
  Script().timeInfo.timeSigNumerator = 7;
  Script().timeInfo.timeSigDenominator = 8;
  plug->GetTimeSig(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);
  Script().timeInfo.flags = kVstTimeSigValid;
  plug->GetTimeSig(&num, &den);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(den, 8);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetTime).back().value, kVstTimeSigValid);
  Script().timeInfo.timeSigDenominator = -4;
  plug->GetTimeSig(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);
}

TEST_F(HostCallsTest, GetTimeCopiesOnlyValidFields)
{
  ITimeInfo info;
  const ITimeInfo untouched;
  AnswerTime(1234.0, kVstTransportPlaying);  // none of the five validity flags
  plug->GetTime(&info);
  EXPECT_EQ(info.mSamplePos, untouched.mSamplePos);
  EXPECT_FALSE(info.mTransportIsRunning);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetTime).back().value, 0x3E00);

  VstTimeInfo& t = Script().timeInfo;
  t.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid |
            kVstTransportPlaying | kVstTransportCycleActive;
  t.ppqPos = 8.5;
  t.tempo = 0.0;  // ignored: a tempo must be above 0 here
  t.barStartPos = 8.0;
  t.cycleStartPos = 4.0;
  t.cycleEndPos = -1.0;  // a cycle needs both ends
  t.timeSigNumerator = 3;
  t.timeSigDenominator = 4;
  plug->GetTime(&info);
  EXPECT_EQ(info.mSamplePos, 1234.0);
  EXPECT_EQ(info.mPPQPos, 8.5);
  EXPECT_EQ(info.mTempo, untouched.mTempo);
  EXPECT_EQ(info.mLastBar, 8.0);
  EXPECT_EQ(info.mCycleStart, untouched.mCycleStart);
  EXPECT_EQ(info.mNumerator, 3);
  EXPECT_EQ(info.mDenominator, 4);
  EXPECT_TRUE(info.mTransportIsRunning);
  EXPECT_TRUE(info.mTransportLoopEnabled);
}

TEST_F(HostCallsTest, HostIsIdentifiedOnceWithItsDecimalVersionPacked)
{
  Script().productString = "REAPER";
  Script().vendorVersion = 10203;
  EXPECT_EQ(plug->GetHost(), kHostReaper);
  EXPECT_EQ(plug->GetHostVersion(false), 0x10203);
  EXPECT_EQ(plug->GetHost(), kHostReaper);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetProductString).size(), 1u);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetVendorVersion).size(), 1u);
}

TEST_F(HostCallsTest, HostWithoutProductStringIsUnknownAndNotAskedForAVersion)
{
  EXPECT_EQ(plug->GetHost(), kHostUnknown);
  EXPECT_EQ(plug->GetHostVersion(false), 0);
  EXPECT_TRUE(RecordingHost::Get().Calls(audioMasterGetVendorVersion).empty());
}

TEST_F(HostCallsTest, OfflineRenderingIsProcessLevelFour)
{
  for (int level = 0; level <= 4; ++level) {
    Script().processLevel = level;
    EXPECT_EQ(plug->IsRenderingOffline(), level == kVstProcessLevelOffline) << level;
  }
}

TEST_F(HostCallsTest, AutomationGesturesAndProgramNotices)
{
  plug->BeginInformHostOfParamChange(2);
  plug->InformHostOfParamChange(2, 0.25);
  plug->EndInformHostOfParamChange(2);
  plug->InformHostOfProgramChange();
  const std::vector<HostCall>& calls = RecordingHost::Get().calls;
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[0].index, 2);
  EXPECT_EQ(calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(calls[1].index, 2);
  EXPECT_EQ(calls[1].opt, 0.25f);
  EXPECT_EQ(calls[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(calls[3].opcode, audioMasterUpdateDisplay);
}

TEST_F(HostCallsTest, EditorChangesReachTheHostAsAutomation)
{
  plug->SetParameterFromGUI(ProbeEffect::kGain, 0.75);
  const std::vector<HostCall> automate = RecordingHost::Get().Calls(audioMasterAutomate);
  ASSERT_EQ(automate.size(), 1u);
  EXPECT_EQ(automate[0].index, ProbeEffect::kGain);
  EXPECT_EQ(automate[0].opt, 0.75f);
  // The host setting a parameter itself is not echoed back.
  RecordingHost::Get().calls.clear();
  AEffect* e = plug->GetAEffect();
  e->setParameter(e, ProbeEffect::kGain, 0.5f);
  EXPECT_TRUE(RecordingHost::Get().calls.empty());
}

TEST_F(HostCallsTest, MidiAndSysExGoOutAsSingleEvents)
{
  IMidiMsg msg;
  msg.MakeNoteOnMsg(60, 100, 12, 3);
  EXPECT_TRUE(plug->SendMidiMsg(&msg));
  Script().processEventsAnswer = 0;
  EXPECT_FALSE(plug->SendMidiMsg(&msg));
  Script().processEventsAnswer = 1;
  const unsigned char dump[] = {0xF0, 0x01, 0xF7};
  ISysEx sysex(5, dump, 3);
  EXPECT_TRUE(plug->SendSysEx(&sysex));

  const std::vector<HostCall> sent = RecordingHost::Get().Calls(audioMasterProcessEvents);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].numEvents, 1);
  ASSERT_EQ(sent[0].midi.size(), 1u);
  const VstMidiEvent& m = sent[0].midi[0];
  EXPECT_EQ(m.byteSize, 32);
  EXPECT_EQ(m.deltaFrames, 12);
  EXPECT_EQ(static_cast<unsigned char>(m.midiData[0]), 0x93);
  EXPECT_EQ(m.midiData[1], 60);
  EXPECT_EQ(m.midiData[2], 100);
  EXPECT_EQ(m.flags | m.noteLength | m.noteOffset | m.detune | m.noteOffVelocity, 0);
  ASSERT_EQ(sent[2].sysex.size(), 1u);
  EXPECT_EQ(sent[2].sysex[0], std::vector<unsigned char>(dump, dump + 3));
}

TEST_F(HostCallsTest, LatencyIsReportedInTheRecord)
{
  plug->SetLatency(128);
  EXPECT_EQ(plug->GetAEffect()->initialDelay, 128);
  EXPECT_EQ(plug->GetLatency(), 128);
}

TEST_F(HostCallsTest, WithoutAHostCallbackEveryQueryAnswersNothing)
{
  IEffectInstanceInfo none;
  ProbeEffect lonely(none);
  EXPECT_EQ(lonely.GetSamplePos(), 0);
  EXPECT_EQ(lonely.GetTempo(), 0.0);
  EXPECT_FALSE(lonely.IsRenderingOffline());
  IMidiMsg msg;
  EXPECT_FALSE(lonely.SendMidiMsg(&msg));
  EXPECT_EQ(lonely.GetHost(), kHostUnknown);
  lonely.InformHostOfParamChange(0, 0.5);
  EXPECT_TRUE(RecordingHost::Get().calls.empty());
}

TEST_F(HostCallsTest, StereoLimitingHostsAreRecognisedOnOpen)
{
  Script().productString = "Forte 4";
  AEffect* e = plug->GetAEffect();
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(plug->GetHost(), kHostForte);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
}

// A headless editor with one control following the Gain parameter; it
// tells the test when the plug-in deletes it.
class TrackedEditor : public HeadlessGraphics {
public:
  TrackedEditor(IEffectBase* plug, bool* deleted) : HeadlessGraphics(plug, 60, 40), mDeleted(deleted)
  {
    IBitmap none;
    gain = new IBitmapControl(plug, 0, 0, ProbeEffect::kGain, &none);
    AttachControl(gain);
    flip = new IBitmapControl(plug, 0, 0, ProbeEffect::kFlip, &none);
    AttachControl(flip);
  }
  ~TrackedEditor() override { *mDeleted = true; }
  IControl* gain;
  IControl* flip;

private:
  bool* mDeleted;
};

TEST_F(HostCallsTest, AnAttachedEditorFollowsHostChangesOnItsOwnThread)
{
  bool deleted = false;
  AEffect* e = plug->GetAEffect();
  plug->AttachGraphics(nullptr);
  EXPECT_EQ(e->flags & effFlagsHasEditor, 0);
  TrackedEditor* gui = new TrackedEditor(plug.get(), &deleted);
  plug->AttachGraphics(gui);
  EXPECT_NE(e->flags & effFlagsHasEditor, 0);
  // Attaching fixes the control's default from the parameter (0 dB of
  // -60..12) and makes no pixels yet.
  EXPECT_DOUBLE_EQ(gui->gain->GetDefaultValue(), 60.0 / 72.0);
  EXPECT_DOUBLE_EQ(gui->gain->GetValue(), 60.0 / 72.0);
  EXPECT_FALSE(gui->HasDrawBitmap());
  ERect* rect = nullptr;
  EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0.0f), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 60);
  EXPECT_EQ(rect->bottom, 40);

  // Host changes wait in the editor's mailbox until its next tick.
  e->setParameter(e, ProbeEffect::kGain, 0.5f);
  EXPECT_DOUBLE_EQ(gui->gain->GetValue(), 60.0 / 72.0);
  e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_DOUBLE_EQ(gui->gain->GetValue(), 0.5);

  // The editor shows what the parameter holds, not what the host sent.
  e->setParameter(e, ProbeEffect::kGain, -0.6f);
  e->setParameter(e, ProbeEffect::kFlip, 0.75f);  // a switch is on or off
  e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_DOUBLE_EQ(gui->gain->GetValue(), 0.0);
  EXPECT_DOUBLE_EQ(gui->flip->GetValue(), 1.0);

  // Text is read as a plain value and normalized on the way.
  e->dispatcher(e, effString2Parameter, ProbeEffect::kGain, 0, const_cast<char*>("-6"), 0.0f);
  e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_DOUBLE_EQ(gui->gain->GetValue(), 54.0 / 72.0);

  // A restored chunk brings every control back.
  void* chunk = nullptr;
  const VstIntPtr size = e->dispatcher(e, effGetChunk, 1, 0, &chunk, 0.0f);
  std::vector<unsigned char> copy(static_cast<unsigned char*>(chunk),
                                  static_cast<unsigned char*>(chunk) + size);
  e->setParameter(e, ProbeEffect::kGain, 1.0f);
  EXPECT_EQ(e->dispatcher(e, effSetChunk, 1, size, copy.data(), 0.0f), 1);
  e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_DOUBLE_EQ(gui->gain->GetValue(), 54.0 / 72.0);

  EXPECT_EQ(e->dispatcher(e, effEditClose, 0, 0, nullptr, 0.0f), 1);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);  // deletes the plug-in and its editor
  plug.release();
  EXPECT_TRUE(deleted);
}

}  // namespace
