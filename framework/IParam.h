#pragma once
// One automatable parameter: type, range, current plain value, the shape
// curve that maps it to and from the normalized 0..1 range hosts and
// controls work in, and the texts it is shown with.
//
// Threads: an IParam has no lock of its own. Everything that reads or
// writes a parameter after construction holds the plug-in mutex
// (IEffectBase::GetMutex()); the effect initialises its parameters in its
// constructor before any host call.

#include "base/heapbuf.h"

class IParam {
public:
  enum EParamType { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };

  // One entry of the value-to-text table.
  struct DisplayText {
    int mValue;
    char mText[32];
  };

  IParam();
  ~IParam();
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  // Initialisers (constructor thread). Each sets the type only while it is
  // still kTypeNone, so the first initialiser fixes it. Texts longer than
  // 31 characters are cut.
  void InitBool(const char* name, bool defaultVal, const char* label = "", const char* group = "");
  void InitEnum(const char* name, int defaultVal, int nEnums, const char* label = "", const char* group = "");
  void InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "",
               const char* group = "");
  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "", const char* group = "", double shape = 1.0);

  // A shape of 0 leaves the current shape unchanged.
  void SetShape(double shape);
  // Appends (value, text); an existing entry for the value is kept and
  // lookups find the first one.
  void SetDisplayText(int value, const char* text);
  // Shown values change sign.
  void NegateDisplay() { mNegateDisplay = true; }
  bool GetNegateDisplay() const { return mNegateDisplay; }
  // Flags kept for hosts and editors that want them; nothing here reads them.
  bool GetSignDisplay() const { return mSignDisplay; }
  bool GetCanAutomate() const { return mCanAutomate; }
  bool GetIsMeta() const { return mIsMeta; }

  // Conversions between plain and normalized values. SetNormalized clamps
  // the result into [minimum, maximum] and ignores a NaN.
  void SetNormalized(double normalizedValue);
  double GetNormalized() const;
  double GetNormalized(double nonNormalizedValue) const;
  double GetNonNormalized(double normalizedValue) const;

  // Writes the text shown for a value (plain, or normalized when the flag
  // says so) into rDisplay, which must hold the longest such text.
  void GetDisplayForHost(double value, bool normalized, char* rDisplay, bool withDisplayText = true) const;
  void GetDisplayForHost(char* rDisplay, bool withDisplayText = true) const
  {
    GetDisplayForHost(mValue, false, rDisplay, withDisplayText);
  }

  // Display-text table. Lookups that find nothing give "" or false.
  const char* GetDisplayText(int value) const;
  int GetNDisplayTexts() const { return mDisplayTexts.GetSize(); }
  const char* GetDisplayTextAtIdx(int idx, int* value = nullptr) const;
  bool MapDisplayText(const char* str, int* value) const;

  const char* GetNameForHost() const { return mName; }
  // "" when the current value has a non-empty display text, else the label.
  const char* GetLabelForHost() const;
  const char* GetParamGroupForHost() const { return mParamGroup; }

  void GetBounds(double* lo, double* hi) const;
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  // The value read as decibels, as a linear gain.
  double DBToAmp() const;

  // The plain value, unclamped; a NaN is ignored, so a parameter always
  // holds a number.
  void Set(double value);
  double Value() const { return mValue; }
  // The value cut toward zero (saturating; NaN gives 0).
  int Int() const { return TruncToInt(mValue); }
  bool Bool() const { return Int() != 0; }
  double GetDefault() const { return mDefault; }
  EParamType Type() const { return static_cast<EParamType>(mType); }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  int GetPrecision() const { return mDisplayPrecision; }

  // Cuts a double toward zero into an int without overflowing.
  static int TruncToInt(double v);

private:
  void SetTexts(const char* name, const char* label, const char* group);
  void SetTypeIfNone(EParamType type);

  int mType = kTypeNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[32];
  char mLabel[32];
  char mParamGroup[32];
  bool mNegateDisplay = false;
  bool mSignDisplay = false;
  bool mCanAutomate = true;
  bool mIsMeta = false;
  BASE_TypedBuf<DisplayText> mDisplayTexts;
};
