// Asking the user for a parameter's value: a menu of its display texts or
// an in-place text field, and the typed text turned back into a value
// (IGraphics.h).

#include <locale.h>
#include <stdlib.h>

#include <cctype>
#include <cstring>

#include "base/mutex.h"
#include "framework/IEffectBase.h"
#include "framework/IParam.h"
#include "framework/editor/IGraphics.h"
#include "framework/editor/IPopupMenu.h"
#include "framework/editor/controls/IControl.h"

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the decimal number (optional sign, digits with an optional
// point, optional exponent) at s; 0 when s starts with none.
size_t DecimalLength(const char* s)
{
  size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  size_t digits = 0;
  for (; IsDigit(s[i]); ++i) ++digits;
  if (s[i] == '.')
    for (++i; IsDigit(s[i]); ++i) ++digits;
  if (digits == 0) return 0;
  if (s[i] == 'e' || s[i] == 'E') {
    size_t j = i + 1;
    if (s[j] == '+' || s[j] == '-') ++j;
    if (IsDigit(s[j])) {
      while (IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// The decimal number at the start of the text (after blanks), 0 if none.
// Only decimal notation counts: hexadecimal, "inf" and "nan" read as 0. A
// point is the decimal separator whatever locale the host has set.
double LeadingDecimal(const char* text)
{
  if (!text) return 0.0;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  const size_t n = DecimalLength(text);
  if (n == 0) return 0.0;
  static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  if (!cLocale) return strtod(text, nullptr);
  char number[128];
  if (n < sizeof(number)) {
    std::memcpy(number, text, n);
    number[n] = '\0';
    return strtod_l(number, nullptr, cLocale);
  }
  return strtod_l(text, nullptr, cLocale);
}

bool HasDisplayMenu(const IParam* param)
{
  const IParam::EParamType type = param->Type();
  return type == IParam::kTypeEnum || (type == IParam::kTypeBool && param->GetNDisplayTexts() > 0);
}

}  // namespace

void IGraphics::PromptUserInput(IControl* control, IParam* param, IRECT* textRect)
{
  if (!control || !param || !textRect || !mPlug) return;
  const bool menu = HasDisplayMenu(param);
  double value;
  {
    BASE_MutexLock lock(mPlug->GetMutex());
    value = param->Value();
  }
  char current[ParamSnapshot::kDisplaySize];
  param->GetDisplayForHost(value, false, current, menu);
  if (menu) PromptFromMenu(control, param, textRect, current);
  else CreateTextEntry(control, control->GetText(), textRect, current, param);
}

void IGraphics::PromptFromMenu(IControl* control, IParam* param, IRECT* textRect, const char* current)
{
  // Display texts are fixed once the plug-in is constructed.
  IPopupMenu menu;
  const int n = param->GetNDisplayTexts();
  for (int i = 0; i < n; ++i) {
    const char* text = param->GetDisplayText(i);
    const int flags = std::strcmp(text, current) ? IPopupMenuItem::kNoFlags : IPopupMenuItem::kChecked;
    menu.AddItem(text, -1, flags);
  }
  IPopupMenu* chosen = CreateIPopupMenu(&menu, textRect);
  if (!chosen || chosen->GetChosenItemIdx() < 0) return;
  control->SetValueFromUserInput(param->GetNormalized(chosen->GetChosenItemIdx()));
}

void IGraphics::SetFromStringAfterPrompt(IControl* control, IParam* param, const char* text)
{
  if (!control || !param) return;
  double value;
  if (param->Type() == IParam::kTypeBool || param->Type() == IParam::kTypeEnum) {
    int mapped = 0;
    if (!param->MapDisplayText(text, &mapped)) mapped = 0;
    value = mapped;
  } else {
    value = LeadingDecimal(text);
    if (param->GetNegateDisplay()) value = -value;
  }
  control->SetValueFromUserInput(param->GetNormalized(value));
}
