// The dispatcher's answers, opcode by opcode, on the probe plug-in.

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/framework/vst/probe_fixture.h"

namespace {

TEST_F(ProbeTest, EntryRecordCarriesIdentityCountsAndFlags)
{
  EXPECT_EQ(e->magic, 0x56737450);
  EXPECT_NE(e->dispatcher, nullptr);
  EXPECT_NE(e->process, nullptr);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_NE(e->processDoubleReplacing, nullptr);
  EXPECT_NE(e->setParameter, nullptr);
  EXPECT_NE(e->getParameter, nullptr);
  EXPECT_EQ(e->numPrograms, 3);
  EXPECT_EQ(e->numParams, 4);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  // Replacing, double, chunks, and mono because "1-1" is in the I/O list.
  EXPECT_EQ(e->flags,
            effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsProgramChunks | effFlagsCanMono);
  EXPECT_EQ(e->initialDelay, 7);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_NE(e->object, nullptr);
  EXPECT_EQ(e->uniqueID, CCONST('P', 'r', 'b', '1'));
  EXPECT_EQ(e->version, 10203);
  EXPECT_EQ(e->resvd1, 0);
  EXPECT_EQ(e->resvd2, 0);
  EXPECT_EQ(e->realQualities, 0);
  EXPECT_EQ(e->offQualities, 0);
  EXPECT_EQ(e->user, nullptr);
  for (char c : e->future) EXPECT_EQ(c, 0);
}

TEST_F(ProbeTest, FixedAnswersAndUnsupportedOpcodes)
{
  EXPECT_EQ(Dispatch(e, effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(e, effGetVstVersion), 2400);
  EXPECT_EQ(Dispatch(e, effCanBeAutomated, 0), 1);
  EXPECT_EQ(Dispatch(e, effCanBeAutomated, 99), 1);
  EXPECT_EQ(Dispatch(e, effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(Dispatch(e, effGetVendorVersion), 10203);
  EXPECT_EQ(Dispatch(e, effGetTailSize), 0);
  EXPECT_EQ(Dispatch(e, effProcessVarIo), 0);
  EXPECT_EQ(Dispatch(e, effEditIdle), 0);
  EXPECT_EQ(Dispatch(e, effIdle), 0);
  const int unsupported[] = {9,  16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 38,   39, 40,
                             43, 44, 46, 54, 55, 56, 57, 59, 60, 61, 62, 63, 64,   65, 67,
                             68, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 1000, -1};
  char buffer[256] = {};
  for (int op : unsupported) {
    EXPECT_EQ(Dispatch(e, op, 0, 0, buffer), 0) << "opcode " << op;
    EXPECT_EQ(buffer[0], 0) << "opcode " << op;
  }
}

TEST_F(ProbeTest, RecordWithoutObjectAnswersNothing)
{
  AEffect orphan = *e;
  orphan.object = nullptr;
  EXPECT_EQ(orphan.dispatcher(&orphan, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(orphan.getParameter(&orphan, 0), 0.0f);
  orphan.setParameter(&orphan, 0, 0.5f);
  float in[4] = {1, 1, 1, 1}, out[4] = {};
  float* ins[2] = {in, in};
  float* outs[2] = {out, out};
  orphan.processReplacing(&orphan, ins, outs, 4);
  EXPECT_EQ(out[0], 0.0f);
}

TEST_F(ProbeTest, IdentityTextsAreCopiedAndNullBuffersRefused)
{
  EXPECT_EQ(DispatchText(e, effGetEffectName), "Probe");
  EXPECT_EQ(DispatchText(e, effGetVendorString), "Probe Vendor");
  EXPECT_EQ(DispatchText(e, effGetProductString), "Probe Product");
  EXPECT_EQ(Dispatch(e, effGetEffectName, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(e, effGetVendorString, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(e, effGetProductString, 0, 0, nullptr), 0);
}

TEST_F(ProbeTest, ParameterTextsForIndexesInAndOutOfRange)
{
  EXPECT_EQ(DispatchText(e, effGetParamName, kGain), "Gain");
  EXPECT_EQ(DispatchText(e, effGetParamLabel, kGain), "dB");
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), "0.0");
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kMode), "Hard");
  EXPECT_EQ(DispatchText(e, effGetParamLabel, kMode), "");  // display text replaces the label
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kFlip), "off");
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kDepth), "5.00");  // negated display
  for (int op : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
    for (int idx : {-1, 4, 1 << 30}) {
      char buffer[16];
      std::memset(buffer, 'x', sizeof buffer);
      EXPECT_EQ(Dispatch(e, op, idx, 0, buffer), 0);
      EXPECT_EQ(buffer[0], 'x') << "opcode " << op << " index " << idx;
    }
    EXPECT_EQ(Dispatch(e, op, 0, 0, nullptr), 0);
  }
}

TEST_F(ProbeTest, GetAndSetParameterUseNormalizedValuesAndIgnoreBadIndexes)
{
  EXPECT_EQ(e->getParameter(e, -1), 0.0f);
  EXPECT_EQ(e->getParameter(e, 4), 0.0f);
  const float before = e->getParameter(e, kGain);
  e->setParameter(e, -1, 0.1f);
  e->setParameter(e, 4, 0.1f);
  e->setParameter(e, kGain, std::nanf(""));
  e->setParameter(e, kGain, -HUGE_VALF);
  EXPECT_EQ(e->getParameter(e, kGain), before);
  e->setParameter(e, kGain, 0.5f);
  EXPECT_FLOAT_EQ(e->getParameter(e, kGain), 0.5f);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), "-24.0");
  e->setParameter(e, kMode, 1.0f);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kMode), "Fold");
}

TEST_F(ProbeTest, StringToParameterReadsPlainValuesAndDisplayTexts)
{
  EXPECT_EQ(Dispatch(e, effString2Parameter, kGain, 0, nullptr), 1);  // supported?
  EXPECT_EQ(Dispatch(e, effString2Parameter, 4, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(e, effString2Parameter, -1, 0, const_cast<char*>("1")), 0);

  EXPECT_EQ(Dispatch(e, effString2Parameter, kGain, 0, const_cast<char*>("-12.5")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), "-12.5");
  EXPECT_EQ(Dispatch(e, effString2Parameter, kGain, 0, const_cast<char*>("100")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), "12.0");  // clamped to the maximum
  EXPECT_EQ(Dispatch(e, effString2Parameter, kGain, 0, const_cast<char*>("-1000")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), "-60.0");
  EXPECT_EQ(Dispatch(e, effString2Parameter, kGain, 0, const_cast<char*>("nan")), 0);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), "-60.0");

  EXPECT_EQ(Dispatch(e, effString2Parameter, kMode, 0, const_cast<char*>("Fold")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kMode), "Fold");
  EXPECT_EQ(Dispatch(e, effString2Parameter, kMode, 0, const_cast<char*>("fold")), 0);
  EXPECT_EQ(Dispatch(e, effString2Parameter, kFlip, 0, const_cast<char*>("on")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kFlip), "on");

  // A negated display reads typed text negated: "3" shown means -3 stored.
  EXPECT_EQ(Dispatch(e, effString2Parameter, kDepth, 0, const_cast<char*>("3")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kDepth), "3.00");
  EXPECT_NEAR(e->getParameter(e, kDepth), 0.7f, 1e-6f);
  EXPECT_EQ(Dispatch(e, effString2Parameter, kDepth, 0, const_cast<char*>("-3")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kDepth), "-0.00");  // clamped to 0
}

TEST_F(ProbeTest, VendorSpecificDisplayAndIntegerStepQueries)
{
  char buffer[64];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, effGetParamDisplay, kGain, buffer, 0.5f), 0xBEEF);
  EXPECT_STREQ(buffer, "-24.0");
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, effGetParamDisplay, 9, buffer, 0.5f), 0xBEEF);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(Dispatch(e, effVendorSpecific, effGetParamDisplay, kGain, nullptr, 0.5f), 0);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, kVstParameterUsesIntStep, kGain), 0);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, kVstParameterUsesIntStep, kMode), 0xBEEF);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, kVstParameterUsesIntStep, kFlip), 0xBEEF);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, kVstParameterUsesIntStep, 4), 0);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, 3, kGain, buffer), 0);
}

TEST_F(ProbeTest, CapabilitiesFollowTheMidiDeclaration)
{
  EXPECT_EQ(Dispatch(e, effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo")), 1);
  for (const char* cap : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
    EXPECT_EQ(Dispatch(e, effCanDo, 0, 0, const_cast<char*>(cap)), 1) << cap;
  EXPECT_EQ(Dispatch(e, effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfoX")), 0);
  EXPECT_EQ(Dispatch(e, effCanDo, 0, 0, const_cast<char*>("bypass")), 0);
  EXPECT_EQ(Dispatch(e, effCanDo, 0, 0, nullptr), 0);
}

TEST_F(ProbeTest, PinPropertiesPairChannelsAndNumberLabels)
{
  for (bool input : {true, false}) {
    const int op = input ? effGetInputProperties : effGetOutputProperties;
    const std::string prefix = input ? "Input " : "Output ";
    VstPinProperties pin;
    std::memset(&pin, 0x55, sizeof pin);
    EXPECT_EQ(Dispatch(e, op, 0, 0, &pin), 1);
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    EXPECT_EQ(std::string(pin.label), prefix + "1");
    EXPECT_EQ(pin.shortLabel[0], 0x55);  // left as the host gave it
    EXPECT_EQ(Dispatch(e, op, 1, 0, &pin), 1);
    EXPECT_EQ(pin.flags, kVstPinIsActive);
    EXPECT_EQ(std::string(pin.label), prefix + "2");
    EXPECT_EQ(Dispatch(e, op, 2, 0, &pin), 0);
    EXPECT_EQ(Dispatch(e, op, -1, 0, &pin), 0);
    EXPECT_EQ(Dispatch(e, op, 0, 0, nullptr), 0);
  }
}

TEST_F(ProbeTest, SpeakerArrangementsAreReportedForTheChannelCounts)
{
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(Dispatch(e, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->type, kSpeakerArrStereo);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(Dispatch(e, effGetSpeakerArrangement, 0, 0, nullptr), 1);
  EXPECT_EQ(Dispatch(e, effSetSpeakerArrangement, 0, 0, nullptr), 1);
}

TEST_F(ProbeTest, ProgramsSwitchRenameAndRefuseBadIndexes)
{
  EXPECT_EQ(Dispatch(e, effGetProgram), 0);
  EXPECT_EQ(DispatchText(e, effGetProgramName), "First");
  EXPECT_EQ(DispatchText(e, effGetProgramNameIndexed, 1), "Second");
  EXPECT_EQ(DispatchText(e, effGetProgramNameIndexed, 2), "Empty");  // filled by the entry point
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(Dispatch(e, effGetProgramNameIndexed, 3, 0, buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(Dispatch(e, effGetProgramNameIndexed, 0, 0, nullptr), 0);

  Dispatch(e, effSetProgram, 0, 1);
  EXPECT_EQ(Dispatch(e, effGetProgram), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), "-6.0");
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kMode), "Fold");
  Dispatch(e, effSetProgram, 0, 7);
  Dispatch(e, effSetProgram, 0, -1);
  Dispatch(e, effSetProgram, 0, VstIntPtr(1) << 32);  // not taken as program 0
  EXPECT_EQ(Dispatch(e, effGetProgram), 1);

  Dispatch(e, effSetProgramName, 0, 0, const_cast<char*>("Renamed"));
  EXPECT_EQ(DispatchText(e, effGetProgramName), "Renamed");
  EXPECT_EQ(Dispatch(e, effSetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(e, effGetProgramName, 0, 0, nullptr), 0);
}

TEST_F(ProbeTest, ProgramNamesAreCutToThePublishedLength)
{
  const std::string longName(100, 'n');
  Dispatch(e, effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  char buffer[64];
  std::memset(buffer, 'x', sizeof buffer);
  Dispatch(e, effGetProgramName, 0, 0, buffer);
  EXPECT_EQ(std::strlen(buffer), static_cast<size_t>(kVstMaxProgNameLen - 1));
  EXPECT_EQ(buffer[kVstMaxProgNameLen], 'x');
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(Dispatch(e, effGetProgramNameIndexed, 0, 0, buffer), 1);
  EXPECT_EQ(buffer[kVstMaxProgNameLen], 'x');
}

TEST_F(ProbeTest, MidiKeyNamesAreClearedThenAsked)
{
  MidiKeyName key;
  std::memset(&key, 'x', sizeof key);
  key.thisKeyNumber = 60;
  EXPECT_EQ(Dispatch(e, effGetMidiKeyName, 0, 0, &key), 1);
  EXPECT_STREQ(key.keyName, "Key 60");
  EXPECT_EQ(key.keyName[sizeof key.keyName - 1], 0);
  EXPECT_EQ(Dispatch(e, effGetMidiKeyName, 0, 0, nullptr), 0);
}

TEST_F(ProbeTest, NoEditorMeansNoRectangleAndNoWindow)
{
  EXPECT_EQ(e->flags & effFlagsHasEditor, 0);
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(e, effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(Dispatch(e, effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(e, effEditClose), 0);
}

// ---- Chunks ----

TEST_F(ProbeTest, ProgramChunkRoundTripsWithAndWithoutTheVersionHeader)
{
  e->setParameter(e, kGain, 0.25f);
  std::vector<unsigned char> chunk = GetChunk(e, true);
  ASSERT_EQ(chunk.size(), 40u);  // 8-byte header + 4 doubles
  EXPECT_EQ(std::memcmp(chunk.data(), "tffp", 4), 0);
  int version;
  std::memcpy(&version, chunk.data() + 4, 4);
  EXPECT_EQ(version, 0x10000);
  const std::string shown = DispatchText(e, effGetParamDisplay, kGain);

  e->setParameter(e, kGain, 0.9f);
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, chunk.size(), chunk.data()), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), shown);

  e->setParameter(e, kGain, 0.9f);
  std::vector<unsigned char> bare(chunk.begin() + 8, chunk.end());
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, bare.size(), bare.data()), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), shown);
  // A bank chunk without the header is read as one program state.
  e->setParameter(e, kGain, 0.9f);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, bare.size(), bare.data()), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kGain), shown);
}

TEST_F(ProbeTest, BankChunkRoundTripsEveryPreset)
{
  Dispatch(e, effSetProgram, 0, 1);
  Dispatch(e, effSetProgramName, 0, 0, const_cast<char*>("Kept"));
  e->setParameter(e, kGain, 0.125f);  // live state goes into the bank
  std::vector<unsigned char> bank = GetChunk(e, false);
  ASSERT_GT(bank.size(), 8u);
  EXPECT_EQ(std::memcmp(bank.data(), "tffp", 4), 0);

  Dispatch(e, effSetProgramName, 0, 0, const_cast<char*>("Changed"));
  e->setParameter(e, kGain, 1.0f);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, bank.size(), bank.data()), 1);
  EXPECT_EQ(DispatchText(e, effGetProgramNameIndexed, 1), "Kept");
  EXPECT_FLOAT_EQ(e->getParameter(e, kGain), 0.125f);
  EXPECT_EQ(DispatchText(e, effGetProgramNameIndexed, 0), "First");
}

TEST_F(ProbeTest, ChunkRequestsWithBadPointersOrSizesAreRefusedUnread)
{
  EXPECT_EQ(Dispatch(e, effGetChunk, 1, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, 40, nullptr), 0);
  unsigned char small[8] = {};
  const float before = e->getParameter(e, kGain);
  // Sizes far beyond the 8 bytes given would be read past the end (the
  // sanitizer build catches any such read).
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, -40, small), 0);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, VstIntPtr(1) << 40, small), 0);
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, 0x7FFFFFFF, small), 0);
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, 0, small), 0);
  EXPECT_EQ(e->getParameter(e, kGain), before);
}

TEST_F(ProbeTest, TruncatedChunkIsRefusedAndChangesNothing)
{
  std::vector<unsigned char> chunk = GetChunk(e, true);
  ASSERT_EQ(chunk.size(), 40u);
  Dispatch(e, effSetProgramName, 0, 0, const_cast<char*>("Mine"));
  e->setParameter(e, kGain, 0.25f);
  e->setParameter(e, kDepth, 0.75f);
  const std::vector<unsigned char> liveBefore = GetChunk(e, true);
  const std::vector<unsigned char> bankBefore = GetChunk(e, false);
  ASSERT_GT(bankBefore.size(), 20u);

  EXPECT_EQ(Dispatch(e, effSetChunk, 1, 28, chunk.data()), 0);  // header + 2.5 doubles
  EXPECT_EQ(GetChunk(e, true), liveBefore);
  // A bank cut inside its second preset would already have renamed and
  // refilled the first.
  std::vector<unsigned char> other = bankBefore;
  other[12] = 'X';
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, other.size() - 10, other.data()), 0);
  EXPECT_EQ(GetChunk(e, true), liveBefore);
  EXPECT_EQ(GetChunk(e, false), bankBefore);
  EXPECT_EQ(DispatchText(e, effGetProgramName), "Mine");
  EXPECT_FLOAT_EQ(e->getParameter(e, kDepth), 0.75f);
}

TEST_F(ProbeTest, ChunksHoldingNotANumberAreRefusedAndChangeNothing)
{
  e->setParameter(e, kGain, 0.25f);
  const std::vector<unsigned char> program = GetChunk(e, true);
  ASSERT_EQ(program.size(), 40u);
  e->setParameter(e, kGain, 0.75f);
  const std::vector<unsigned char> liveBefore = GetChunk(e, true);
  const std::vector<unsigned char> bankBefore = GetChunk(e, false);
  const double nan = std::numeric_limits<double>::quiet_NaN();

  std::vector<unsigned char> bad = program;
  std::memcpy(&bad[8], &nan, 8);  // the first value
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, bad.size(), bad.data()), 0);
  // Headerless bytes 0xFF read as NaNs, as a program and as a bank.
  std::vector<unsigned char> ff(32, 0xFF);
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, ff.size(), ff.data()), 0);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, ff.size(), ff.data()), 0);
  // A bank whose last preset holds a NaN.
  bad = bankBefore;
  std::memcpy(&bad[bad.size() - 8], &nan, 8);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, bad.size(), bad.data()), 0);

  EXPECT_EQ(GetChunk(e, true), liveBefore);
  EXPECT_EQ(GetChunk(e, false), bankBefore);
  for (int i = 0; i < e->numParams; ++i) EXPECT_FALSE(std::isnan(e->getParameter(e, i))) << i;
  EXPECT_FLOAT_EQ(e->getParameter(e, kGain), 0.75f);
}

TEST_F(ProbeTest, ChunkPointerStaysValidUntilTheNextRequestOfTheSameKind)
{
  void* program = nullptr;
  void* bank = nullptr;
  const VstIntPtr programSize = Dispatch(e, effGetChunk, 1, 0, &program);
  std::vector<unsigned char> copy(static_cast<unsigned char*>(program),
                                  static_cast<unsigned char*>(program) + programSize);
  Dispatch(e, effGetChunk, 0, 0, &bank);
  EXPECT_NE(program, bank);
  EXPECT_EQ(std::memcmp(program, copy.data(), copy.size()), 0);
}

// ---- Events ----

TEST_F(ProbeTest, MidiEventsReachThePlugInAndComeBackThrough)
{
  EXPECT_EQ(Dispatch(e, effProcessEvents, 0, 0, nullptr), 0);
  VstEvents none = {};
  EXPECT_EQ(Dispatch(e, effProcessEvents, 0, 0, &none), 1);

  VstMidiEvent note = {};
  note.type = kVstMidiType;
  note.byteSize = sizeof note;
  note.deltaFrames = 17;
  note.midiData[0] = static_cast<char>(0x93);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstEvent other = {};
  other.type = kVstVideoType;
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[3];
  } list = {3, 0, {reinterpret_cast<VstEvent*>(&note), nullptr, &other}};
  RecordingHost::Get().calls.clear();
  EXPECT_EQ(Dispatch(e, effProcessEvents, 0, 0, &list), 1);
  const std::vector<HostCall> sent = RecordingHost::Get().Calls(audioMasterProcessEvents);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].midi.size(), 1u);
  const VstMidiEvent& echo = sent[0].midi[0];
  EXPECT_EQ(echo.byteSize, 32);
  EXPECT_EQ(echo.deltaFrames, 17);
  EXPECT_EQ(static_cast<unsigned char>(echo.midiData[0]), 0x93);
  EXPECT_EQ(echo.midiData[1], 60);
  EXPECT_EQ(echo.midiData[2], 100);
  EXPECT_EQ(echo.midiData[3], 0);
}

TEST_F(ProbeTest, SysExEventsReachThePlugIn)
{
  char dump[] = {static_cast<char>(0xF0), 0x7E, 0x7F, static_cast<char>(0xF7)};
  VstMidiSysexEvent sysex = {};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof sysex;
  sysex.deltaFrames = 3;
  sysex.dumpBytes = 4;
  sysex.sysexDump = dump;
  VstMidiSysexEvent broken = sysex;
  broken.sysexDump = nullptr;
  VstEvents list = {2, 0, {reinterpret_cast<VstEvent*>(&sysex), reinterpret_cast<VstEvent*>(&broken)}};
  RecordingHost::Get().calls.clear();
  EXPECT_EQ(Dispatch(e, effProcessEvents, 0, 0, &list), 1);
  const std::vector<HostCall> sent = RecordingHost::Get().Calls(audioMasterProcessEvents);
  ASSERT_EQ(sent.size(), 1u);  // the dump without data is not delivered
  ASSERT_EQ(sent[0].sysex.size(), 1u);
  EXPECT_EQ(sent[0].sysex[0], std::vector<unsigned char>({0xF0, 0x7E, 0x7F, 0xF7}));
}

TEST_F(ProbeTest, OpenIdentifiesTheHostOnce)
{
  // SetUp opened with a host that has no product string: asked once.
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetProductString).size(), 1u);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetVendorVersion).size(), 0u);
  Dispatch(e, effOpen);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterGetProductString).size(), 1u);
}

}  // namespace
