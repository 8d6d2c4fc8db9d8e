#pragma once
// The plug-in the fuzz targets feed: the effect's four parameters, with or
// without state chunks, and three presets so bank data has room to walk.

#include "tests/framework/test_plug.h"

struct FuzzPlug : TestPlug {
  explicit FuzzPlug(bool stateChunks) : TestPlug(4, "1-1 2-2", 3, stateChunks, "Quarry")
  {
    InitQuarryParams(this);
    MakeDefaultPreset("-", 1);
  }
};

// Copies the fuzz input into a chunk as a host would hand it over.
inline void FillChunk(ByteChunk* chunk, const unsigned char* data, size_t size)
{
  chunk->Clear();
  if (size > 0 && size < (1u << 30)) chunk->AppendBytes(data, static_cast<int>(size));
}
