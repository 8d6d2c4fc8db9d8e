#pragma once
// IMidiMsg: one short (channel) MIDI message travelling between the host and
// the plug-in, with constructors for the messages a plug-in sends and
// decoders with their fixed scaling for the messages it receives.
//
// Threads: a plain value record without locks; the adapter builds it on the
// host's audio thread while the plug-in mutex is held, and it is copied by
// value (also into a BASE_TypedBuf<IMidiMsg>).

struct IMidiMsg {
  // The message kind: the status byte's high nibble.
  enum EStatusMsg {
    kNone = 0,
    kNoteOff = 8,
    kNoteOn = 9,
    kPolyAftertouch = 10,
    kControlChange = 11,
    kProgramChange = 12,
    kChannelAftertouch = 13,
    kPitchWheel = 14
  };

  // A controller number 0-127; the standard assignments have names, any
  // other number may be cast.
  enum EControlChangeMsg {
    kBankSelect = 0,
    kModWheel = 1,
    kBreathController = 2,
    kFootController = 4,
    kPortamentoTime = 5,
    kDataEntry = 6,
    kChannelVolume = 7,
    kBalance = 8,
    kPan = 10,
    kExpressionController = 11,
    kEffectControl1 = 12,
    kEffectControl2 = 13,
    kGeneralPurposeController1 = 16,
    kGeneralPurposeController2 = 17,
    kGeneralPurposeController3 = 18,
    kGeneralPurposeController4 = 19,
    kBankSelectLSB = 32,
    kModWheelLSB = 33,
    kDataEntryLSB = 38,
    kChannelVolumeLSB = 39,
    kPanLSB = 42,
    kSustainOnOff = 64,
    kPortamentoOnOff = 65,
    kSostenutoOnOff = 66,
    kSoftPedalOnOff = 67,
    kLegatoOnOff = 68,
    kHold2OnOff = 69,
    kSoundVariation = 70,
    kResonance = 71,
    kReleaseTime = 72,
    kAttackTime = 73,
    kCutoffFrequency = 74,
    kDecayTime = 75,
    kVibratoRate = 76,
    kVibratoDepth = 77,
    kVibratoDelay = 78,
    kSoundControl10 = 79,
    kGeneralPurposeController5 = 80,
    kGeneralPurposeController6 = 81,
    kGeneralPurposeController7 = 82,
    kGeneralPurposeController8 = 83,
    kPortamentoControl = 84,
    kReverbSendLevel = 91,
    kTremoloDepth = 92,
    kChorusSendLevel = 93,
    kCelesteDepth = 94,
    kPhaserDepth = 95,
    kDataIncrement = 96,
    kDataDecrement = 97,
    kNRPNLSB = 98,
    kNRPNMSB = 99,
    kRPNLSB = 100,
    kRPNMSB = 101,
    kAllSoundOff = 120,
    kResetAllControllers = 121,
    kLocalControl = 122,
    kAllNotesOff = 123,
    kOmniModeOff = 124,
    kOmniModeOn = 125,
    kMonoModeOn = 126,
    kPolyModeOn = 127
  };

  int mOffset;            // position inside the current block, in samples
  unsigned char mStatus;  // kind in the high nibble, channel 0-15 in the low
  unsigned char mData1;   // note, controller, program, or pitch low 7 bits
  unsigned char mData2;   // velocity, value, pressure, or pitch high 7 bits

  // Every byte of the bytes given is kept as its low 8 bits.
  explicit IMidiMsg(int offset = 0, int status = 0, int data1 = 0, int data2 = 0);

  // Constructors clear the whole record, then set its fields. The channel is
  // OR-ed into the status byte as it is, so it must lie in 0-15.
  void MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel = 0);
  void MakeNoteOffMsg(int noteNumber, int offset, int channel = 0);
  // value -1 ... +1, clamped to the 14-bit range; offset 0.
  void MakePitchWheelMsg(double value, int channel = 0);
  // value 0 ... 1, scaled by 127 and truncated, not clamped; offset 0.
  void MakeControlChangeMsg(EControlChangeMsg idx, double value, int channel = 0);
  void Clear();

  int Channel() const;
  // The kind of a channel message (status 0x80-0xEF), else kNone.
  EStatusMsg StatusMsg() const;
  // Each gives -1 (or the stated value) when the message is of another kind.
  int NoteNumber() const;         // note off, note on, poly aftertouch
  int Velocity() const;           // note off, note on
  int PolyAfterTouch() const;     // poly aftertouch: the pressure
  int ChannelAfterTouch() const;  // channel aftertouch: the pressure
  int Program() const;            // program change
  double PitchWheel() const;      // -1 ... 8191/8192; 0.0 for other kinds
  int ControlChangeIdx() const;   // data 1, whatever the kind
  // data 2 / 127 when this is a control change of controller idx, else -1.0.
  double ControlChange(EControlChangeMsg idx) const;

  // Feeds the trace facility, which is compiled out: does nothing.
  void LogMsg() const {}
};

// Text naming a message kind: "noteon", "controlchange", ...; "none" for 0
// and "unknown" for values without a kind.
const char* StatusMsgStr(IMidiMsg::EStatusMsg msg);
