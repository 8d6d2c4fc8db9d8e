#include "framework/IMidiMsg.h"

#include <cstring>

namespace {

unsigned char LowByte(int v) { return static_cast<unsigned char>(v & 0xFF); }

// Truncation toward zero that stays defined for values beyond the int range
// (they saturate) and for NaN (0).
int TruncateToInt(double v)
{
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

}  // namespace

IMidiMsg::IMidiMsg(int offset, int status, int data1, int data2)
    : mOffset(offset), mStatus(LowByte(status)), mData1(LowByte(data1)), mData2(LowByte(data2))
{
}

void IMidiMsg::Clear()
{
  mOffset = 0;
  mStatus = mData1 = mData2 = 0;
}

void IMidiMsg::MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel)
{
  Clear();
  mStatus = LowByte(0x90 | channel);
  mData1 = LowByte(noteNumber);
  mData2 = LowByte(velocity);
  mOffset = offset;
}

void IMidiMsg::MakeNoteOffMsg(int noteNumber, int offset, int channel)
{
  Clear();
  mStatus = LowByte(0x80 | channel);
  mData1 = LowByte(noteNumber);
  mOffset = offset;
}

void IMidiMsg::MakePitchWheelMsg(double value, int channel)
{
  Clear();
  mStatus = LowByte(0xE0 | channel);
  const int i = TruncateToInt(value * 8192.0);
  const int v = i < -8192 ? 0 : (i > 8191 ? 16383 : i + 8192);
  mData1 = LowByte(v & 0x7F);
  mData2 = LowByte(v >> 7);
}

void IMidiMsg::MakeControlChangeMsg(EControlChangeMsg idx, double value, int channel)
{
  Clear();
  mStatus = LowByte(0xB0 | channel);
  mData1 = LowByte(static_cast<int>(idx));
  mData2 = LowByte(TruncateToInt(value * 127.0));
}

int IMidiMsg::Channel() const { return mStatus & 0x0F; }

IMidiMsg::EStatusMsg IMidiMsg::StatusMsg() const
{
  if (mStatus < 0x80 || mStatus >= 0xF0) return kNone;
  return static_cast<EStatusMsg>(mStatus >> 4);
}

int IMidiMsg::NoteNumber() const
{
  switch (StatusMsg()) {
    case kNoteOff:
    case kNoteOn:
    case kPolyAftertouch:
      return mData1;
    default:
      return -1;
  }
}

int IMidiMsg::Velocity() const
{
  const EStatusMsg kind = StatusMsg();
  return (kind == kNoteOff || kind == kNoteOn) ? mData2 : -1;
}

int IMidiMsg::PolyAfterTouch() const { return (mStatus & 0xF0) == 0xA0 ? mData2 : -1; }

int IMidiMsg::ChannelAfterTouch() const { return (mStatus & 0xF0) == 0xD0 ? mData1 : -1; }

int IMidiMsg::Program() const { return (mStatus & 0xF0) == 0xC0 ? mData1 : -1; }

double IMidiMsg::PitchWheel() const
{
  if ((mStatus & 0xF0) != 0xE0) return 0.0;
  const int v = mData2 * 128 + mData1;
  return static_cast<double>(v - 8192) / 8192.0;
}

int IMidiMsg::ControlChangeIdx() const { return mData1; }

double IMidiMsg::ControlChange(EControlChangeMsg idx) const
{
  if ((mStatus & 0xF0) == 0xB0 && mData1 == static_cast<int>(idx)) return mData2 / 127.0;
  return -1.0;
}

const char* StatusMsgStr(IMidiMsg::EStatusMsg msg)
{
  switch (msg) {
    case IMidiMsg::kNone:
      return "none";
    case IMidiMsg::kNoteOff:
      return "noteoff";
    case IMidiMsg::kNoteOn:
      return "noteon";
    case IMidiMsg::kPolyAftertouch:
      return "aftertouch";
    case IMidiMsg::kControlChange:
      return "controlchange";
    case IMidiMsg::kProgramChange:
      return "programchange";
    case IMidiMsg::kChannelAftertouch:
      return "channelaftertouch";
    case IMidiMsg::kPitchWheel:
      return "pitchwheel";
  }
  return "unknown";
}
