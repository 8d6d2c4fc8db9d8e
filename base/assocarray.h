#pragma once
// Sorted array of (key, value) pairs with bisection search. The key
// traits say how keys compare, are copied on insertion and are freed; an
// optional dispose function releases values that are replaced or removed.
//
// Threads: no locking; the owner serialises access (the process-wide
// caches built on it hold their own mutex).

#include <cstdlib>
#include <cstring>

#include "base/heapbuf.h"

template <class K, class V, class KeyTraits>
class BASE_AssocArrayImpl {
public:
  using Dispose = void (*)(V);

  explicit BASE_AssocArrayImpl(Dispose dispose = nullptr) : m_dispose(dispose) {}
  ~BASE_AssocArrayImpl() { DeleteAll(); }
  BASE_AssocArrayImpl(const BASE_AssocArrayImpl&) = delete;
  BASE_AssocArrayImpl& operator=(const BASE_AssocArrayImpl&) = delete;

  int GetSize() const { return m_pairs.GetSize(); }

  V Get(K key, V notFound = V()) const
  {
    const int idx = Find(key);
    return idx >= 0 ? m_pairs.Get()[idx].value : notFound;
  }
  bool Exists(K key) const { return Find(key) >= 0; }

  // Replaces the value of an existing key (disposing the old value) or
  // inserts a copy of the key in order. Returns false when the array could
  // not grow.
  bool Insert(K key, V value)
  {
    bool found;
    const int idx = Search(key, &found);
    Pair* pairs = m_pairs.Get();
    if (found) {
      if (m_dispose && pairs[idx].value != value) m_dispose(pairs[idx].value);
      pairs[idx].value = value;
      return true;
    }
    K copy = KeyTraits::Copy(key);
    if (!KeyTraits::Valid(copy)) return false;
    const int n = m_pairs.GetSize();
    pairs = m_pairs.Resize(n + 1, false);
    if (!pairs) {
      KeyTraits::Free(copy);
      return false;
    }
    std::memmove(static_cast<void*>(pairs + idx + 1), static_cast<const void*>(pairs + idx),
                 static_cast<size_t>(n - idx) * sizeof(Pair));
    pairs[idx].key = copy;
    pairs[idx].value = value;
    return true;
  }

  void Delete(K key)
  {
    const int idx = Find(key);
    if (idx < 0) return;
    Pair* pairs = m_pairs.Get();
    Release(pairs[idx]);
    const int n = m_pairs.GetSize();
    std::memmove(static_cast<void*>(pairs + idx), static_cast<const void*>(pairs + idx + 1),
                 static_cast<size_t>(n - idx - 1) * sizeof(Pair));
    m_pairs.Resize(n - 1);
  }

  void DeleteAll()
  {
    const int n = m_pairs.GetSize();
    Pair* pairs = m_pairs.Get();
    for (int i = n - 1; i >= 0; --i) Release(pairs[i]);
    m_pairs.Resize(0);
  }

  // Pair idx in key order; notFound outside.
  V Enumerate(int idx, K* key = nullptr, V notFound = V()) const
  {
    if (idx < 0 || idx >= m_pairs.GetSize()) return notFound;
    const Pair& p = m_pairs.Get()[idx];
    if (key) *key = p.key;
    return p.value;
  }

private:
  struct Pair {
    K key;
    V value;
  };

  void Release(Pair& p)
  {
    KeyTraits::Free(p.key);
    if (m_dispose) m_dispose(p.value);
  }

  // Index of key when found, else the index where it belongs.
  int Search(K key, bool* found) const
  {
    const Pair* pairs = m_pairs.Get();
    int lo = 0, hi = m_pairs.GetSize();
    while (lo < hi) {
      const int mid = lo + (hi - lo) / 2;
      const int c = KeyTraits::Compare(key, pairs[mid].key);
      if (c == 0) {
        *found = true;
        return mid;
      }
      if (c < 0) hi = mid;
      else lo = mid + 1;
    }
    *found = false;
    return lo;
  }
  int Find(K key) const
  {
    bool found;
    const int idx = Search(key, &found);
    return found ? idx : -1;
  }

  BASE_TypedBuf<Pair> m_pairs;
  Dispose m_dispose;
};

struct BASE_StringKeyTraits {
  static int Compare(const char* a, const char* b) { return std::strcmp(a, b); }
  static const char* Copy(const char* key) { return strdup(key); }
  static bool Valid(const char* copy) { return copy != nullptr; }
  static void Free(const char* key) { std::free(const_cast<char*>(key)); }
};

template <class V>
class BASE_StringKeyedArray : public BASE_AssocArrayImpl<const char*, V, BASE_StringKeyTraits> {
public:
  using Base = BASE_AssocArrayImpl<const char*, V, BASE_StringKeyTraits>;
  explicit BASE_StringKeyedArray(typename Base::Dispose dispose = nullptr) : Base(dispose) {}
};
