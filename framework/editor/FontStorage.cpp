#include "framework/editor/FontStorage.h"

#include <cstring>
#include <new>

#include "pix/pix_font.h"

FontStorage s_fontCache;

FontStorage::~FontStorage()
{
  BASE_MutexLock lock(mMutex);
  for (int i = mEntries.GetSize() - 1; i >= 0; --i) {
    Entry* entry = mEntries.Get(i);
    delete entry->mFont;
    delete entry;
  }
  mEntries.Empty();
}

bool FontStorage::Add(PIX_IFont* font, const IText* text)
{
  if (!font || !text) return false;
  Entry* entry = new (std::nothrow) Entry;
  if (!entry) return false;
  entry->mSize = text->mSize;
  entry->mOrientation = text->mOrientation;
  entry->mStyle = text->mStyle;
  std::memcpy(entry->mFace, text->mFont, sizeof(entry->mFace));
  entry->mFace[sizeof(entry->mFace) - 1] = '\0';
  entry->mFont = font;
  BASE_MutexLock lock(mMutex);
  if (mEntries.Add(entry)) return true;
  delete entry;
  return false;
}

PIX_IFont* FontStorage::Find(const IText* text)
{
  if (!text) return nullptr;
  BASE_MutexLock lock(mMutex);
  for (int i = 0; i < mEntries.GetSize(); ++i) {
    const Entry* entry = mEntries.Get(i);
    if (entry->mSize == text->mSize && entry->mOrientation == text->mOrientation &&
        entry->mStyle == text->mStyle && !std::strncmp(entry->mFace, text->mFont, sizeof(entry->mFace)))
      return entry->mFont;
  }
  return nullptr;
}

int FontStorage::Size()
{
  BASE_MutexLock lock(mMutex);
  return mEntries.GetSize();
}
