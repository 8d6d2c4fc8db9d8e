#pragma once
// The plug-in the fuzz targets feed: the effect's four parameters, with or
// without state chunks, and three presets so bank data has room to walk;
// and the checks every load must pass, whatever the bytes.

#include <cmath>
#include <vector>

#include "framework/FxFile.h"
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

// Everything a load may change: live state, every preset, current index.
inline std::vector<unsigned char> Observe(IEffectBase& plug)
{
  ByteChunk all;
  plug.SerializeState(&all);
  plug.SerializePresets(&all);
  all.AppendValue(plug.GetCurrentPresetIdx());
  return std::vector<unsigned char>(all.Data(), all.Data() + all.Size());
}

// A refused load changes nothing, and no load leaves a parameter that is
// not a number.
inline void CheckLoad(IEffectBase& plug, bool loaded, const std::vector<unsigned char>& before)
{
  if (!loaded && Observe(plug) != before) __builtin_trap();
  for (int i = 0; i < plug.NParams(); ++i)
    if (std::isnan(plug.GetParam(i)->Value())) __builtin_trap();
}

// What the plug-in writes after a load is a sound file to a strict reader
// (a host) and loads again into a fresh plug-in.
template <class Record, class Parse>
void CheckRewrite(IEffectBase& plug, bool chunks, Parse parse, bool (IEffectBase::*make)(ByteChunk*),
                  bool (IEffectBase::*load)(const unsigned char*, int))
{
  ByteChunk out;
  if (!(plug.*make)(&out)) __builtin_trap();
  Record record;
  if (parse(out.Data(), static_cast<size_t>(out.Size()), &record, kFxByHeader) != kFxOK) __builtin_trap();
  FuzzPlug again(chunks);
  if (!(again.*load)(out.Data(), out.Size())) __builtin_trap();
}
