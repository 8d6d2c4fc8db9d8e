// Free pools of context and object records.

#include "gdi/gdi-pool.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "base/mutex.h"

namespace {

BASE_Mutex* m_ctxpool_mutex = nullptr;
std::once_flag s_mutexOnce;
bool s_unloaded = false;

GDI_ContextRec* s_freeContexts = nullptr;
int s_freeContextCount = 0;
GDI_ObjectRec* s_freeObjects = nullptr;
int s_freeObjectCount = 0;

BASE_Mutex& PoolMutex()
{
  std::call_once(s_mutexOnce, [] { m_ctxpool_mutex = new BASE_Mutex(); });
  return *m_ctxpool_mutex;
}

// Takes a record from a free list or allocates a zeroed one.
template <class Rec>
Rec* TakeRecord(Rec*& list, int& count)
{
  Rec* rec = nullptr;
  if (!s_unloaded) {
    BASE_MutexLock lock(PoolMutex());
    if (list) {
      rec = list;
      list = rec->next;
      --count;
    }
  }
  if (rec) {
    std::memset(static_cast<void*>(rec), 0, sizeof(Rec));
    return rec;
  }
  return static_cast<Rec*>(std::calloc(1, sizeof(Rec)));
}

template <class Rec>
void GiveRecord(Rec* rec, Rec*& list, int& count, int maxCount)
{
  if (!rec) return;
  std::memset(static_cast<void*>(rec), 0, sizeof(Rec));
  rec->released = 1;
  if (!s_unloaded) {
    BASE_MutexLock lock(PoolMutex());
    if (count < maxCount) {
      rec->next = list;
      list = rec;
      ++count;
      return;
    }
  }
  std::free(rec);
}

template <class Rec>
void FreeList(Rec*& list, int& count)
{
  while (list) {
    Rec* next = list->next;
    std::free(list);
    list = next;
  }
  count = 0;
}

// Frees the pools when the library is unloaded.
struct PoolUnloader {
  ~PoolUnloader() { GDI_FreePools(); }
} s_poolUnloader;

}  // namespace

GDI_ContextRec* GDI_AllocContextRec() { return TakeRecord(s_freeContexts, s_freeContextCount); }
GDI_ObjectRec* GDI_AllocObjectRec() { return TakeRecord(s_freeObjects, s_freeObjectCount); }

void GDI_FreeContextRec(GDI_ContextRec* rec)
{
  GiveRecord(rec, s_freeContexts, s_freeContextCount, static_cast<int>(GDI_MAX_POOLED_CONTEXTS));
}

void GDI_FreeObjectRec(GDI_ObjectRec* rec)
{
  GiveRecord(rec, s_freeObjects, s_freeObjectCount, static_cast<int>(GDI_MAX_POOLED_OBJECTS));
}

int GDI_PooledContextCount()
{
  if (s_unloaded) return 0;
  BASE_MutexLock lock(PoolMutex());
  return s_freeContextCount;
}

int GDI_PooledObjectCount()
{
  if (s_unloaded) return 0;
  BASE_MutexLock lock(PoolMutex());
  return s_freeObjectCount;
}

void GDI_FreePools()
{
  if (s_unloaded) return;
  {
    BASE_MutexLock lock(PoolMutex());
    FreeList(s_freeContexts, s_freeContextCount);
    FreeList(s_freeObjects, s_freeObjectCount);
    s_unloaded = true;
  }
  delete m_ctxpool_mutex;
  m_ctxpool_mutex = nullptr;
}
