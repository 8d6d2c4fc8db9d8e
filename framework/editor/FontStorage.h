#pragma once
// The process-wide owner of every font the editors create for their texts
// (IGraphics::CacheFont). A font is found again by the text's size,
// orientation, style and face name; colour, alignment and quality are not
// part of the key.
//
// Threads: any thread. Find and Add each take the cache's own mutex for
// their own step only, so two editors caching the same text at once may
// both create and add a font (both are kept and freed at unload).

#include "base/mutex.h"
#include "base/ptrlist.h"
#include "framework/editor/IText.h"

class PIX_IFont;

class FontStorage {
public:
  FontStorage() {}
  // Deletes every font and entry.
  ~FontStorage();
  FontStorage(const FontStorage&) = delete;
  FontStorage& operator=(const FontStorage&) = delete;

  // Takes ownership of the font under the text's key. False (the font
  // stays with the caller) for a null font or text, or when the list could
  // not grow.
  bool Add(PIX_IFont* font, const IText* text);
  // The first font stored under the text's key (face names compared
  // exactly), or null.
  PIX_IFont* Find(const IText* text);
  int Size();

private:
  struct Entry {
    int mSize;
    int mOrientation;
    int mStyle;
    char mFace[IText::kFontNameSize];
    PIX_IFont* mFont;
  };

  BASE_PtrList<Entry> mEntries;
  BASE_Mutex mMutex;
};

extern FontStorage s_fontCache;
