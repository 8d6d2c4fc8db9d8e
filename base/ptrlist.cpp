#include "base/ptrlist.h"

#include <cstring>

void* BASE_PtrListBase::GetRaw(int idx) const
{
  if (idx < 0 || idx >= GetSize()) return nullptr;
  return GetListRaw()[idx];
}

bool BASE_PtrListBase::AddRaw(void* item) { return InsertRaw(GetSize(), item); }

bool BASE_PtrListBase::InsertRaw(int idx, void* item)
{
  const int n = GetSize();
  if (idx < 0) idx = 0;
  if (idx > n) idx = n;
  void** list = static_cast<void**>(m_hb.Resize((n + 1) * static_cast<int>(sizeof(void*)), false));
  if (!list) return false;
  std::memmove(list + idx + 1, list + idx, static_cast<size_t>(n - idx) * sizeof(void*));
  list[idx] = item;
  return true;
}

void* BASE_PtrListBase::RemoveRaw(int idx)
{
  const int n = GetSize();
  if (idx < 0 || idx >= n) return nullptr;
  void** list = GetListRaw();
  void* item = list[idx];
  std::memmove(list + idx, list + idx + 1, static_cast<size_t>(n - idx - 1) * sizeof(void*));
  m_hb.Resize((n - 1) * static_cast<int>(sizeof(void*)));
  return item;
}

int BASE_PtrListBase::FindRaw(const void* item) const
{
  const int n = GetSize();
  void** list = GetListRaw();
  for (int i = 0; i < n; ++i) {
    if (list[i] == item) return i;
  }
  return -1;
}
