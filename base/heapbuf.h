#pragma once
// Growable byte buffer and its typed form: the storage under every list,
// string and chunk of the framework.
//
// Threads: none of these containers lock; their owner serialises access.

#include <cstddef>

class BASE_HeapBuf {
public:
  explicit BASE_HeapBuf(int granularity = 4096);
  ~BASE_HeapBuf();
  BASE_HeapBuf(const BASE_HeapBuf&) = delete;
  BASE_HeapBuf& operator=(const BASE_HeapBuf&) = delete;

  // Sets the used size to newSize bytes (a negative size counts as 0) and
  // returns the buffer, or null when the used size is 0. Growing past the
  // allocation reallocates with headroom; shrinking reallocates only when
  // resizeDown is set and the buffer has become mostly unused. When memory
  // cannot be had, buffer and used size stay as they were and null is
  // returned. Bytes gained are not cleared.
  void* Resize(int newSize, bool resizeDown = true);

  void* Get() const { return m_buf; }
  int GetSize() const { return m_used; }
  int GetAlloc() const { return m_alloc; }
  int GetGranularity() const { return m_granularity; }

  // The allocation Resize chooses for newSize bytes; -1 when it would not
  // fit an int.
  static long long AllocationFor(int newSize, int granularity);

private:
  bool Reallocate(int newAlloc, int keepBytes);

  void* m_buf = nullptr;
  int m_alloc = 0;
  int m_used = 0;
  int m_granularity;
};

// A heap buffer holding an array of T (trivially copyable types only: the
// bytes are moved with realloc).
template <class T>
class BASE_TypedBuf {
public:
  explicit BASE_TypedBuf(int granularity = 4096) : m_hb(granularity) {}

  // Sets the element count; returns the array or null (count 0 or failure).
  T* Resize(int count, bool resizeDown = true)
  {
    if (count < 0) count = 0;
    if (static_cast<long long>(count) * static_cast<long long>(sizeof(T)) > 0x7fffffffLL) return nullptr;
    return static_cast<T*>(m_hb.Resize(count * static_cast<int>(sizeof(T)), resizeDown));
  }
  T* Get() const { return static_cast<T*>(m_hb.Get()); }
  int GetSize() const { return m_hb.GetSize() / static_cast<int>(sizeof(T)); }

  // Appends a copy of item; returns the stored element or null when the
  // buffer could not grow (the item is then not added).
  T* Add(const T& item)
  {
    const int n = GetSize();
    T copy = item;  // item may live inside this buffer
    T* p = Resize(n + 1, false);
    if (!p) return nullptr;
    p[n] = copy;
    return p + n;
  }

private:
  BASE_HeapBuf m_hb;
};
