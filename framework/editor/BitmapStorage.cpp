#include "framework/editor/BitmapStorage.h"

#include <new>

#include "pix/pix_bitmap.h"

BitmapStorage s_bitmapCache;

BitmapStorage::~BitmapStorage()
{
  BASE_MutexLock lock(mMutex);
  for (int i = mEntries.GetSize() - 1; i >= 0; --i) {
    Entry* entry = mEntries.Get(i);
    delete entry->mBitmap;
    delete entry;
  }
  mEntries.Empty();
}

int BitmapStorage::IndexOf(PIX_IBitmap* bitmap) const
{
  for (int i = 0; i < mEntries.GetSize(); ++i)
    if (mEntries.Get(i)->mBitmap == bitmap) return i;
  return -1;
}

bool BitmapStorage::Add(PIX_IBitmap* bitmap, int id)
{
  if (!bitmap) return false;
  BASE_MutexLock lock(mMutex);
  if (IndexOf(bitmap) >= 0) return true;
  Entry* entry = new (std::nothrow) Entry{id, bitmap};
  if (!entry) return false;
  if (mEntries.Add(entry)) return true;
  delete entry;
  return false;
}

void BitmapStorage::Remove(PIX_IBitmap* bitmap)
{
  if (!bitmap) return;
  BASE_MutexLock lock(mMutex);
  const int idx = IndexOf(bitmap);
  if (idx < 0) return;
  Entry* entry = mEntries.Get(idx);
  mEntries.Delete(idx);
  delete entry->mBitmap;
  delete entry;
}

PIX_IBitmap* BitmapStorage::Find(int id)
{
  BASE_MutexLock lock(mMutex);
  for (int i = 0; i < mEntries.GetSize(); ++i) {
    Entry* entry = mEntries.Get(i);
    if (entry->mID == id) return entry->mBitmap;
  }
  return nullptr;
}

bool BitmapStorage::Holds(PIX_IBitmap* bitmap)
{
  BASE_MutexLock lock(mMutex);
  return bitmap && IndexOf(bitmap) >= 0;
}

int BitmapStorage::Size()
{
  BASE_MutexLock lock(mMutex);
  return mEntries.GetSize();
}
