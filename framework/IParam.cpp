#include "framework/IParam.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/cstring.h"

IParam::IParam() { mName[0] = mLabel[0] = mParamGroup[0] = '\0'; }

IParam::~IParam() = default;

void IParam::Set(double value)
{
  if (!std::isnan(value)) mValue = value;
}

int IParam::TruncToInt(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

void IParam::SetTexts(const char* name, const char* label, const char* group)
{
  BASE_CopyString(mName, name, sizeof(mName));
  BASE_CopyString(mLabel, label, sizeof(mLabel));
  BASE_CopyString(mParamGroup, group, sizeof(mParamGroup));
}

void IParam::SetTypeIfNone(EParamType type)
{
  if (mType == kTypeNone) mType = type;
}

void IParam::InitBool(const char* name, bool defaultVal, const char* label, const char* group)
{
  SetTypeIfNone(kTypeBool);
  mValue = mDefault = defaultVal ? 1.0 : 0.0;
  mMin = 0.0;
  mMax = 1.0;
  mStep = 1.0;
  mShape = 1.0;
  mDisplayPrecision = 0;
  SetTexts(name, label, group);
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParam::InitEnum(const char* name, int defaultVal, int nEnums, const char* label, const char* group)
{
  SetTypeIfNone(kTypeEnum);
  mValue = mDefault = defaultVal;
  mMin = 0.0;
  mMax = nEnums - 1 > 1 ? nEnums - 1 : 1;
  mStep = 1.0;
  mShape = 1.0;
  mDisplayPrecision = 0;
  SetTexts(name, label, group);
}

void IParam::InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label,
                     const char* group)
{
  SetTypeIfNone(kTypeInt);
  mValue = mDefault = defaultVal;
  mMin = minVal;
  mMax = static_cast<double>(minVal) + 1.0 > maxVal ? static_cast<double>(minVal) + 1.0 : maxVal;
  mStep = 1.0;
  mShape = 1.0;
  mDisplayPrecision = 0;
  SetTexts(name, label, group);
}

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                        const char* label, const char* group, double shape)
{
  SetTypeIfNone(kTypeDouble);
  mValue = mDefault = defaultVal;
  mMin = minVal;
  mMax = minVal + step > maxVal ? minVal + step : maxVal;
  mStep = step;
  SetShape(shape);
  // Decimals shown: as many as the step needs to be a whole number, at most 6.
  int precision = 0;
  for (double s = step; precision < 6 && s != std::floor(s); s *= 10.0) ++precision;
  mDisplayPrecision = precision;
  SetTexts(name, label, group);
}

void IParam::SetShape(double shape)
{
  if (shape != 0.0) mShape = shape;
}

void IParam::SetDisplayText(int value, const char* text)
{
  DisplayText entry;
  entry.mValue = value;
  BASE_CopyString(entry.mText, text, sizeof(entry.mText));
  mDisplayTexts.Add(entry);
}

double IParam::GetNonNormalized(double normalizedValue) const
{
  return mMin + (mMax - mMin) * std::pow(normalizedValue, mShape);
}

void IParam::SetNormalized(double normalizedValue)
{
  if (std::isnan(normalizedValue)) return;
  // Below 0 the curve would give a value under the minimum (an integer
  // would round to -1, an even shape would fold back into the range).
  double v = GetNonNormalized(normalizedValue < 0.0 ? 0.0 : normalizedValue);
  if (mType != kTypeDouble) v = std::floor(v / mStep + 0.5) * mStep;
  mValue = v < mMax ? v : mMax;
}

double IParam::GetNormalized() const { return GetNormalized(mValue); }

double IParam::GetNormalized(double nonNormalizedValue) const
{
  double v = nonNormalizedValue;
  if (v < mMin) v = mMin;
  if (v > mMax) v = mMax;
  return std::pow((v - mMin) / (mMax - mMin), 1.0 / mShape);
}

void IParam::GetDisplayForHost(double value, bool normalized, char* rDisplay, bool withDisplayText) const
{
  if (normalized) value = GetNonNormalized(value);
  if (withDisplayText) {
    const char* text = GetDisplayText(TruncToInt(value));
    if (text[0] != '\0') {
      strcpy(rDisplay, text);
      return;
    }
  }
  if (mNegateDisplay) value = -value;
  if (mDisplayPrecision != 0) sprintf(rDisplay, "%.*f", mDisplayPrecision, value);
  else sprintf(rDisplay, "%d", TruncToInt(value));
}

const char* IParam::GetDisplayText(int value) const
{
  const DisplayText* texts = mDisplayTexts.Get();
  const int n = mDisplayTexts.GetSize();
  for (int i = 0; i < n; ++i)
    if (texts[i].mValue == value) return texts[i].mText;
  return "";
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* value) const
{
  if (idx < 0 || idx >= mDisplayTexts.GetSize()) return "";
  const DisplayText& entry = mDisplayTexts.Get()[idx];
  if (value) *value = entry.mValue;
  return entry.mText;
}

bool IParam::MapDisplayText(const char* str, int* value) const
{
  if (!str) return false;
  const DisplayText* texts = mDisplayTexts.Get();
  const int n = mDisplayTexts.GetSize();
  for (int i = 0; i < n; ++i) {
    if (strcmp(texts[i].mText, str) == 0) {
      if (value) *value = texts[i].mValue;
      return true;
    }
  }
  return false;
}

const char* IParam::GetLabelForHost() const { return GetDisplayText(Int())[0] != '\0' ? "" : mLabel; }

void IParam::GetBounds(double* lo, double* hi) const
{
  if (lo) *lo = mMin;
  if (hi) *hi = mMax;
}

double IParam::DBToAmp() const { return std::exp(mValue * 0.1151292546497); }
