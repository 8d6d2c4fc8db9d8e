#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "base/heapbuf.h"
#include "framework/IEffectStructs.h"

TEST(MidiConstructors, NoteOnAndNoteOff)
{
  IMidiMsg msg(7, 0xF8, 1, 2);
  msg.MakeNoteOnMsg(60, 100, 12, 3);
  EXPECT_EQ(msg.mStatus, 0x93);
  EXPECT_EQ(msg.mData1, 60);
  EXPECT_EQ(msg.mData2, 100);
  EXPECT_EQ(msg.mOffset, 12);
  EXPECT_EQ(msg.NoteNumber(), 60);
  EXPECT_EQ(msg.Velocity(), 100);
  EXPECT_EQ(msg.Channel(), 3);
  EXPECT_EQ(msg.StatusMsg(), IMidiMsg::kNoteOn);

  msg.MakeNoteOffMsg(61, 5, 15);
  EXPECT_EQ(msg.mStatus, 0x8F);
  EXPECT_EQ(msg.NoteNumber(), 61);
  EXPECT_EQ(msg.Velocity(), 0);
  EXPECT_EQ(msg.mOffset, 5);
  EXPECT_EQ(msg.Channel(), 15);
  EXPECT_EQ(msg.StatusMsg(), IMidiMsg::kNoteOff);
}

TEST(MidiConstructors, PitchWheelScalingAndClamping)
{
  IMidiMsg msg;
  msg.MakePitchWheelMsg(1.0, 2);
  EXPECT_EQ(msg.mStatus, 0xE2);
  EXPECT_EQ(msg.mData1, 127);
  EXPECT_EQ(msg.mData2, 127);
  msg.MakePitchWheelMsg(0.0);
  EXPECT_EQ(msg.mData1, 0);
  EXPECT_EQ(msg.mData2, 64);
  EXPECT_EQ(msg.PitchWheel(), 0.0);
  msg.MakePitchWheelMsg(-1.0);
  EXPECT_EQ(msg.mData1, 0);
  EXPECT_EQ(msg.mData2, 0);
  EXPECT_EQ(msg.PitchWheel(), -1.0);
  msg.MakePitchWheelMsg(0.5);
  EXPECT_EQ(msg.mData2 * 128 + msg.mData1, 8192 + 4096);
  msg.MakePitchWheelMsg(-0.00001);  // truncated toward zero
  EXPECT_EQ(msg.mData2 * 128 + msg.mData1, 8192);

  for (double outside : {2.0, 1e300, 1.0 / 0.0}) {
    msg.MakePitchWheelMsg(outside);
    EXPECT_EQ(msg.mData1, 127) << outside;
    EXPECT_EQ(msg.mData2, 127) << outside;
  }
  for (double outside : {-2.0, -1e300, -1.0 / 0.0}) {
    msg.MakePitchWheelMsg(outside);
    EXPECT_EQ(msg.mData1, 0) << outside;
    EXPECT_EQ(msg.mData2, 0) << outside;
  }
  EXPECT_EQ(msg.mOffset, 0);
}

TEST(MidiConstructors, ControlChangeAndClear)
{
  IMidiMsg msg(99, 0x90, 1, 1);
  msg.MakeControlChangeMsg(IMidiMsg::kModWheel, 0.5, 1);
  EXPECT_EQ(msg.mStatus, 0xB1);
  EXPECT_EQ(msg.mData1, 1);
  EXPECT_EQ(msg.mData2, 63);  // 63.5 truncated
  EXPECT_EQ(msg.mOffset, 0);
  msg.MakeControlChangeMsg(IMidiMsg::kSustainOnOff, 1.0);
  EXPECT_EQ(msg.ControlChange(IMidiMsg::kSustainOnOff), 1.0);
  EXPECT_EQ(msg.ControlChange(IMidiMsg::kModWheel), -1.0);
  EXPECT_EQ(msg.ControlChangeIdx(), 64);
  EXPECT_EQ(msg.NoteNumber(), -1);
  EXPECT_EQ(msg.Velocity(), -1);

  msg.Clear();
  EXPECT_EQ(msg.mOffset, 0);
  EXPECT_EQ(msg.mStatus, 0);
  EXPECT_EQ(msg.mData1, 0);
  EXPECT_EQ(msg.mData2, 0);
  EXPECT_EQ(msg.StatusMsg(), IMidiMsg::kNone);
}

TEST(MidiDecoders, EachAnswersOnlyForItsKind)
{
  const IMidiMsg poly(0, 0xA4, 70, 33);
  EXPECT_EQ(poly.StatusMsg(), IMidiMsg::kPolyAftertouch);
  EXPECT_EQ(poly.NoteNumber(), 70);
  EXPECT_EQ(poly.PolyAfterTouch(), 33);
  EXPECT_EQ(poly.Velocity(), -1);
  EXPECT_EQ(poly.ChannelAfterTouch(), -1);

  const IMidiMsg pressure(0, 0xD0, 90, 0);
  EXPECT_EQ(pressure.ChannelAfterTouch(), 90);
  EXPECT_EQ(pressure.PolyAfterTouch(), -1);
  EXPECT_EQ(pressure.NoteNumber(), -1);

  const IMidiMsg program(0, 0xC9, 5, 0);
  EXPECT_EQ(program.Program(), 5);
  EXPECT_EQ(program.Channel(), 9);
  EXPECT_EQ(program.PitchWheel(), 0.0);
  EXPECT_EQ(program.ControlChange(IMidiMsg::kBankSelect), -1.0);

  const IMidiMsg top(0, 0xE0, 127, 127);
  EXPECT_EQ(top.PitchWheel(), 8191.0 / 8192.0);
  EXPECT_EQ(top.Program(), -1);

  // System messages and data bytes without a status are no channel message.
  for (int status : {0xF0, 0xF8, 0xFF, 0x00, 0x7F}) {
    const IMidiMsg sys(0, status, 60, 100);
    EXPECT_EQ(sys.StatusMsg(), IMidiMsg::kNone) << status;
    EXPECT_EQ(sys.NoteNumber(), -1) << status;
    EXPECT_EQ(sys.Velocity(), -1) << status;
  }
}

TEST(MidiRecords, KindTextsAndValueSemantics)
{
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kNone), "none");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kNoteOff), "noteoff");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kNoteOn), "noteon");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kPolyAftertouch), "aftertouch");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kControlChange), "controlchange");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kProgramChange), "programchange");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kChannelAftertouch), "channelaftertouch");
  EXPECT_STREQ(StatusMsgStr(IMidiMsg::kPitchWheel), "pitchwheel");
  for (int v : {1, 7, 15, 255, -1})
    EXPECT_STREQ(StatusMsgStr(static_cast<IMidiMsg::EStatusMsg>(v)), "unknown");

  // Runs of messages live in typed buffers, which move them as raw bytes.
  static_assert(std::is_trivially_copyable<IMidiMsg>::value, "IMidiMsg is moved with realloc");
  static_assert(std::is_trivially_copyable<ISysEx>::value, "ISysEx is copied by value");
  BASE_TypedBuf<IMidiMsg> run;
  IMidiMsg note;
  note.MakeNoteOnMsg(64, 1, 0);
  for (int i = 0; i < 3000; ++i) {
    note.mOffset = i;
    ASSERT_NE(run.Add(note), nullptr);
  }
  EXPECT_EQ(run.Get()[2999].mOffset, 2999);
  EXPECT_EQ(run.Get()[1234].NoteNumber(), 64);
}

TEST(SysExRecords, HexListing)
{
  const unsigned char dump[] = {0xF0, 0x7E, 0x7F, 0x09, 0xF7};
  char text[32];
  EXPECT_STREQ(SysExStr(text, sizeof(text), dump, 3), "F0 7E 7F");
  EXPECT_STREQ(SysExStr(text, sizeof(text), dump, 5), "F0 7E 7F 09 F7");
  // Capacity 7 holds two bytes.
  std::memset(text, 'x', sizeof(text));
  EXPECT_STREQ(SysExStr(text, 7, dump, 5), "F0 7E");
  EXPECT_EQ(text[6], 'x');
  EXPECT_STREQ(SysExStr(text, 3, dump, 5), "F0");
  EXPECT_STREQ(SysExStr(text, 2, dump, 5), "");
  EXPECT_STREQ(SysExStr(text, sizeof(text), nullptr, 5), "");
  EXPECT_STREQ(SysExStr(text, sizeof(text), dump, 0), "");
  EXPECT_STREQ(SysExStr(text, sizeof(text), dump, -4), "");
  text[0] = 'x';
  SysExStr(text, 0, dump, 5);
  EXPECT_EQ(text[0], 'x');
  EXPECT_EQ(SysExStr(nullptr, 10, dump, 5), nullptr);

  ISysEx sysex(4, dump, 5);
  EXPECT_EQ(sysex.mOffset, 4);
  EXPECT_EQ(sysex.mSize, 5);
  EXPECT_EQ(sysex.mData, dump);
  sysex.Clear();
  EXPECT_EQ(sysex.mOffset, 0);
  EXPECT_EQ(sysex.mSize, 0);
  EXPECT_EQ(sysex.mData, nullptr);
}
