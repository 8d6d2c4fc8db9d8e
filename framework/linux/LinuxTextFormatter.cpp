#include "framework/linux/LinuxTextFormatter.h"

#include <cctype>
#include <cstring>

namespace {

// The leading integer of a text after blanks, as a text field's integer
// value reads it: an optional sign and digits, held within int.
long long LeadingInteger(const char* text)
{
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  long long v = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
    if (v < 0x7FFFFFFFLL) v = v * 10 + (*text - '0');
  return negative ? -v : v;
}

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

LinuxTextFormatter LinuxTextFormatter::ForParamType(int paramType, int maxLength)
{
  LinuxTextFormatter f;
  // Boolean, integer and enumerated parameters take whole numbers; double
  // ones decimals; a parameter of no known type takes nothing.
  if (paramType >= 1 && paramType <= 3) f.SetAcceptableCharacterSet("0123456789-+");
  else if (paramType == 4) f.SetAcceptableCharacterSet("0123456789.-+");
  else f.SetAcceptableCharacterSet("");
  f.SetMaximumLength(maxLength);
  return f;
}

void LinuxTextFormatter::SetAcceptableCharacterSet(const char* characters)
{
  m_filter = characters != nullptr;
  m_characters = characters ? characters : "";
}

int LinuxTextFormatter::CharacterCount(const char* text)
{
  int n = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
    if (!IsContinuationByte(*p)) ++n;
  return n;
}

bool LinuxTextFormatter::IsPartialStringValid(const char* text) const
{
  if (!text) text = "";
  if (m_filter)
    for (const char* p = text; *p; ++p) {
      // The set holds single-byte characters only, so any byte of a
      // multi-byte character is outside it.
      const unsigned char c = static_cast<unsigned char>(*p);
      if (c >= 0x80 || !std::memchr(m_characters.data(), c, m_characters.size())) return false;
    }
  if (m_maxLength > 0 && CharacterCount(text) > m_maxLength) return false;
  if (m_maxValue > 0 && LeadingInteger(text) > m_maxValue) return false;
  return true;
}
