#pragma once
// The process-wide owner of every bitmap the editors load, scale, crop or
// retain. Editors of every plug-in instance in the process share it, so an
// image is loaded once and lives until the module unloads.
//
// Entries keep their insertion order; ids need not be unique (-1 marks a
// bitmap registered without a resource id). A bitmap pointer is held at
// most once, so a bitmap registered twice is still freed once.
//
// Threads: any thread. Each operation takes the cache's own mutex for its
// own step only; a lookup followed by an add is two steps, so two editors
// loading the same id at once may both load it (both copies are kept and
// freed at unload).

#include "base/mutex.h"
#include "base/ptrlist.h"

class PIX_IBitmap;

class BitmapStorage {
public:
  BitmapStorage() {}
  // Deletes every bitmap and entry.
  ~BitmapStorage();
  BitmapStorage(const BitmapStorage&) = delete;
  BitmapStorage& operator=(const BitmapStorage&) = delete;

  // Takes ownership of the bitmap under the id. A null bitmap, or one
  // already held, is not added again (true: it is held). False when the
  // list could not grow; the bitmap then stays with the caller.
  bool Add(PIX_IBitmap* bitmap, int id = -1);
  // Deletes the first entry holding the bitmap and the bitmap itself;
  // nothing for a bitmap the cache does not hold.
  void Remove(PIX_IBitmap* bitmap);
  // The first bitmap stored under the id, or null.
  PIX_IBitmap* Find(int id);
  bool Holds(PIX_IBitmap* bitmap);
  int Size();

private:
  struct Entry {
    int mID;
    PIX_IBitmap* mBitmap;
  };
  int IndexOf(PIX_IBitmap* bitmap) const;  // mutex held

  BASE_PtrList<Entry> mEntries;
  BASE_Mutex mMutex;
};

extern BitmapStorage s_bitmapCache;
