#pragma once
// ISysEx: one system-exclusive dump travelling between the host and the
// plug-in. The record only points at the bytes; they belong to the sender
// and are valid only during the call that delivers them.
//
// Threads: a plain value record without locks; built and consumed on the
// host's audio thread while the plug-in mutex is held.

struct ISysEx {
  int mOffset;                 // position inside the current block, in samples
  int mSize;                   // number of bytes in the dump
  const unsigned char* mData;  // the dump; not owned

  explicit ISysEx(int offset = 0, const unsigned char* data = nullptr, int size = 0)
      : mOffset(offset), mSize(size), mData(data)
  {
  }

  void Clear()
  {
    mOffset = 0;
    mSize = 0;
    mData = nullptr;
  }

  // Feeds the trace facility, which is compiled out: does nothing.
  void LogMsg() const {}
};

// Lists the first bytes of a dump as upper-case hexadecimal pairs separated
// by single blanks ("F0 7E 7F") into str, a buffer of capacity bytes: as
// many bytes as fit three characters each, the last blank giving way to the
// NUL. A null or empty dump, or a capacity below 3, gives ""; a capacity
// below 1 or a null str writes nothing. Returns str.
char* SysExStr(char* str, int capacity, const unsigned char* data, int size);
