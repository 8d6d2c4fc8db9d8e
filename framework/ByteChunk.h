#pragma once
// ByteChunk: the serialisation buffer of plug-in states, preset banks and
// program and bank files. Written only by appending at the end, read at
// explicit positions; values keep the machine's native byte order.
//
// Reads are chained through their position: every read returns the position
// just behind what it read, or -1 when it could not read, and a negative
// position makes every later read fail with -1 as well, so a caller may run
// a sequence of reads and test once at the end. No read ever touches a byte
// outside the chunk, whatever position or stored length it is handed.
//
// Threads: no locking of its own. A chunk belongs to one owner (a preset,
// the adapter's chunk buffers, a file being built) and is used under that
// owner's lock: the plug-in mutex for presets and host chunks.

#include <cstring>
#include <type_traits>

#include "base/heapbuf.h"

class BASE_String;

class ByteChunk {
public:
  ByteChunk();
  ByteChunk(const ByteChunk& other);
  ByteChunk& operator=(const ByteChunk& other);

  // Appends the bytes of a fixed-width value (bool 1 byte, int 4, double 8).
  // Returns the new size; on allocation failure nothing is appended and the
  // old size is returned.
  template <class T>
  int AppendValue(const T& value)
  {
    static_assert(std::is_arithmetic<T>::value, "AppendValue takes a plain number or bool");
    return AppendBytes(&value, static_cast<int>(sizeof(T)));
  }

  // Copies sizeof(T) bytes at position into *dest when they lie inside the
  // chunk (dest is left untouched otherwise). Returns position + sizeof(T),
  // or -1.
  template <class T>
  int ReadValue(T* dest, int position) const
  {
    static_assert(std::is_arithmetic<T>::value, "ReadValue fills a plain number or bool");
    const int width = static_cast<int>(sizeof(T));
    if (!dest || !Holds(position, width)) return -1;
    std::memcpy(static_cast<void*>(dest), Bytes() + position, sizeof(T));
    return position + width;
  }

  // Appends a 4-byte character count (no terminator) and the characters.
  // A null text counts as "". Returns the new size.
  int AppendString(const char* text);

  // Reads a count L at position and the L characters behind it into *str.
  // With end = position + 4 + L: when end lies within the chunk, *str
  // becomes the characters (cut at an embedded zero byte), or "" for L = 0;
  // when end lies beyond the chunk, *str is left untouched and end is still
  // returned (so the next read fails). A negative count, or one that would
  // carry end past the largest int, is malformed data: *str is left
  // untouched and -1 is returned. Returns end, or -1.
  int ReadString(BASE_String* str, int position) const;

  // Appends count raw bytes (which may lie inside this chunk). Returns the
  // new size; a null pointer or negative count appends nothing.
  int AppendBytes(const void* bytes, int count);

  // Appends every byte of another chunk (or of this one). Returns the new size.
  int AppendChunk(const ByteChunk* other);

  // Sets the size to count bytes (negative counts as 0); bytes gained are
  // zero. Returns the size reached, which stays the old one when memory
  // could not be had for growth.
  int Resize(int count);

  // Size becomes 0.
  void Clear();

  int Size() const { return mBytes.GetSize(); }
  // First byte, or null when the chunk is empty.
  unsigned char* Data() { return Size() > 0 ? mBytes.Get() : nullptr; }
  const unsigned char* Data() const { return Size() > 0 ? mBytes.Get() : nullptr; }

  // True when count bytes starting at position lie inside the chunk.
  bool Holds(int position, int count) const
  {
    return position >= 0 && count >= 0 && position <= Size() && count <= Size() - position;
  }

private:
  const unsigned char* Bytes() const { return mBytes.Get(); }

  BASE_TypedBuf<unsigned char> mBytes;
};

// The 8-byte version header in front of every state handed to a host and
// every chunk inside program and bank files: the characters "tffp" followed
// by the framework version as a native-order int.
constexpr int kFrameworkVersion = 0x10000;  // 1.0.0, packed as 0xVVVVRRMM
constexpr int kFrameworkHeaderSize = 8;
// "tffp" read as a native (little-endian) int.
constexpr int kFrameworkHeaderMagic = 't' | ('f' << 8) | ('f' << 16) | ('p' << 24);

// Clears the chunk and appends the version header.
void InitChunkWithFrameworkVer(ByteChunk* chunk);

// Reads the version header at *position. Without the header there (a
// negative or null position, fewer than 4 bytes, or other bytes) returns 0
// and leaves *position as it is, so the state is read from there. A header
// cut short after its magic sets *position to -1 and returns 0. Otherwise
// returns the version and advances *position by 8.
int GetFrameworkVerFromChunk(const ByteChunk* chunk, int* position);
