#include "base/string.h"

#include <cstdlib>
#include <cstring>

BASE_String::BASE_String(const char* text) : m_hb(128)
{
  if (text) Set(text);
}

BASE_String::BASE_String(const BASE_String& other) : m_hb(128) { Set(other.Get(), other.GetLength()); }

BASE_String& BASE_String::operator=(const BASE_String& other)
{
  if (this != &other) Set(other.Get(), other.GetLength());
  return *this;
}

const char* BASE_String::Get() const { return m_hb.GetSize() ? static_cast<const char*>(m_hb.Get()) : ""; }

int BASE_String::GetLength() const { return m_hb.GetSize() ? m_hb.GetSize() - 1 : 0; }

int BASE_String::LengthOf(const char* text, int length)
{
  if (!text) return 0;
  if (length >= 0) {
    int n = 0;
    while (n < length && text[n]) ++n;
    return n;
  }
  const size_t n = std::strlen(text);
  return n > 0x7ffffff0u ? 0x7ffffff0 : static_cast<int>(n);
}

void BASE_String::Set(const char* text, int length) { __doSet(0, text, LengthOf(text, length), 0); }

void BASE_String::Append(const char* text, int length)
{
  __doSet(GetLength(), text, LengthOf(text, length), 0);
}

void BASE_String::Insert(const char* text, int position, int length)
{
  const int current = GetLength();
  if (position < 0) position = 0;
  if (position > current) position = current;
  __doSet(position, text, LengthOf(text, length), current - position);
}

void BASE_String::DeleteSub(int position, int length)
{
  const int current = GetLength();
  if (position < 0 || position >= current || length <= 0) return;
  if (length > current - position) length = current - position;
  char* s = static_cast<char*>(m_hb.Get());
  std::memmove(s + position, s + position + length, static_cast<size_t>(current - position - length));
  SetLength(current - length);
}

void BASE_String::SetLength(int length)
{
  if (length < 0) length = 0;
  if (length >= GetLength()) return;
  if (length == 0) {
    __doSet(0, nullptr, 0, 0);
    return;
  }
  static_cast<char*>(m_hb.Get())[length] = '\0';
  m_hb.Resize(length + 1, false);
}

void BASE_String::__doSet(int offset, const char* text, int length, int trailingKeep)
{
  if (offset == 0 && length == 0 && trailingKeep == 0) {
    m_hb.Resize(0, false);
    return;
  }
  if (offset < 0 || length <= 0 || trailingKeep < 0 || !text) return;
  const long long total = static_cast<long long>(offset) + length + trailingKeep;
  if (total + 1 > 0x7fffffffLL) return;

  // A source inside our own buffer would move when the buffer grows, and
  // could be overwritten by the moved tail: work from a copy of it.
  const char* base = static_cast<const char*>(m_hb.Get());
  char* copy = nullptr;
  if (base && text >= base && text < base + m_hb.GetAlloc()) {
    copy = static_cast<char*>(std::malloc(static_cast<size_t>(length)));
    if (!copy) return;
    std::memcpy(copy, text, static_cast<size_t>(length));
    text = copy;
  }
  char* s = static_cast<char*>(m_hb.Resize(static_cast<int>(total) + 1, false));
  if (s) {
    if (trailingKeep > 0) std::memmove(s + offset + length, s + offset, static_cast<size_t>(trailingKeep));
    std::memcpy(s + offset, text, static_cast<size_t>(length));
    s[total] = '\0';
  }
  std::free(copy);
}
