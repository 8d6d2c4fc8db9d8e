#pragma once
// Ordered list of pointers over a heap buffer. The list owns nothing by
// itself: deleting items is asked for explicitly.
//
// Threads: no locking; the owner serialises access.

#include "base/heapbuf.h"

class BASE_PtrListBase {
public:
  BASE_PtrListBase() : m_hb(4096) {}

  int GetSize() const { return m_hb.GetSize() / static_cast<int>(sizeof(void*)); }
  // Null for an index outside the list.
  void* GetRaw(int idx) const;
  // Appends; returns false (item not added) when the list could not grow.
  bool AddRaw(void* item);
  // Inserts at idx clamped to 0 … size, shifting the tail.
  bool InsertRaw(int idx, void* item);
  // Removes entry idx (nothing for an index outside); returns the item.
  void* RemoveRaw(int idx);
  int FindRaw(const void* item) const;
  void** GetListRaw() const { return static_cast<void**>(m_hb.Get()); }
  void Clear() { m_hb.Resize(0); }

private:
  BASE_HeapBuf m_hb;
};

template <class T>
class BASE_PtrList : private BASE_PtrListBase {
public:
  using BASE_PtrListBase::GetSize;

  // Returns the item, or null when it could not be stored.
  T* Add(T* item) { return AddRaw(const_cast<void*>(static_cast<const void*>(item))) ? item : nullptr; }
  T* Get(int idx) const { return static_cast<T*>(GetRaw(idx)); }
  T* Insert(int idx, T* item)
  {
    return InsertRaw(idx, const_cast<void*>(static_cast<const void*>(item))) ? item : nullptr;
  }
  // Removes entry idx, deleting its item when asked.
  void Delete(int idx, bool deleteItem = false)
  {
    T* item = static_cast<T*>(RemoveRaw(idx));
    if (deleteItem) delete item;
  }
  // Removes every entry from the last to the first; each item is passed to
  // destroy when given, otherwise deleted when deleteItems is set.
  void Empty(bool deleteItems = false, void (*destroy)(T*) = nullptr)
  {
    for (int i = GetSize() - 1; i >= 0; --i) {
      T* item = static_cast<T*>(RemoveRaw(i));
      if (destroy) destroy(item);
      else if (deleteItems) delete item;
    }
    Clear();
  }
  T** GetList() const { return reinterpret_cast<T**>(GetListRaw()); }
  int Find(const T* item) const { return FindRaw(item); }
};
