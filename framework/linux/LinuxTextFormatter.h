#pragma once
// What the in-place text field lets the user type: an optional set of
// acceptable characters, a maximum length in characters and a maximum
// value. A value field of a parameter takes digits and signs (and the
// point for double parameters) up to the control's text-entry length.
//
// Threads: a plain value of the editor's thread.

#include <string>

class LinuxTextFormatter {
public:
  // Accepts every text.
  LinuxTextFormatter() {}
  // The filter for a value of a parameter of the type (IParam::EParamType):
  // "0123456789-+" for boolean, integer and enumerated parameters,
  // "0123456789.-+" for double ones, no character at all for any other
  // type; maxLength characters (0: no limit).
  static LinuxTextFormatter ForParamType(int paramType, int maxLength);

  // Null: no filter (every character is acceptable).
  void SetAcceptableCharacterSet(const char* characters);
  // 0: no limit.
  void SetMaximumLength(int length) { m_maxLength = length; }
  // 0: no limit; otherwise the leading integer of the text may not exceed it.
  void SetMaximumValue(int value) { m_maxValue = value; }

  // Whether the whole UTF-8 text may stand in the field: every character
  // in the set (when there is one), no more characters than the maximum
  // length, and its leading integer no more than the maximum value.
  bool IsPartialStringValid(const char* text) const;

  // Characters (code points) of a UTF-8 text.
  static int CharacterCount(const char* text);

private:
  bool m_filter = false;
  std::string m_characters;
  int m_maxLength = 0;
  int m_maxValue = 0;
};
