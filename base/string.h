#pragma once
// NUL-terminated text in a heap buffer. Every set, append and insert goes
// through one primitive, __doSet, so the growth and terminator rules live in
// a single place.
//
// Threads: no locking; the owner serialises access.

#include "base/heapbuf.h"

class BASE_String {
public:
  explicit BASE_String(const char* text = nullptr);
  BASE_String(const BASE_String& other);
  BASE_String& operator=(const BASE_String& other);

  // Never null: a string that never held text reads as "".
  const char* Get() const;
  int GetLength() const;

  // length < 0 takes the text up to its NUL.
  void Set(const char* text, int length = -1);
  void Append(const char* text, int length = -1);
  // Inserts at position (clamped to 0 … length).
  void Insert(const char* text, int position, int length = -1);
  // Removes up to length characters starting at position.
  void DeleteSub(int position, int length);
  // Cuts the string to length characters (no effect when it is shorter).
  void SetLength(int length);

  // With offset, length and trailingKeep all 0 the string becomes empty.
  // With offset >= 0 and length > 0 the string becomes offset + length +
  // trailingKeep characters: the trailingKeep characters at offset move
  // behind the new text, length characters of text are copied to offset and
  // a NUL ends it; memory is never freed. Other combinations do nothing.
  // text may point into this string's own buffer.
  void __doSet(int offset, const char* text, int length, int trailingKeep);

private:
  static int LengthOf(const char* text, int length);

  BASE_HeapBuf m_hb;
};
