#include "tools/host/ProgramFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/FxFile.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/Messages.h"
#include "tools/host/SafeOutputFile.h"

namespace {

// The whole file, or as much of it as shows that it is too large (one byte
// beyond the codec's limit).
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes, std::string* error)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  bytes->clear();
  unsigned char block[65536];
  size_t got;
  while (bytes->size() <= static_cast<size_t>(kFxMaxFileSize) &&
         (got = std::fread(block, 1, sizeof block, f)) > 0)
    bytes->insert(bytes->end(), block, block + got);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) *error = "cannot read " + path + ": " + std::strerror(errno);
  return !failed;
}

bool WriteImage(const ByteChunk& image, const std::string& path, bool noClobber, std::string* error)
{
  return SafeOutputFile::WriteWhole(path, image.Data(), static_cast<size_t>(image.Size()), noClobber, error);
}

bool CodecFailed(EFxFileError result, const std::string& path, std::string* error)
{
  if (result == kFxOK) return false;
  *error = path + " " + FxFileErrorText(result);
  return true;
}

bool CheckPluginID(int id, HostedPlugin* plugin, const std::string& path, std::string* error)
{
  if (id == plugin->Effect()->uniqueID) return true;
  *error = path + " was made for plug-in " + FourCCText(id) + ", not for " +
           FourCCText(plugin->Effect()->uniqueID);
  return false;
}

EFxFileError Parse(const std::vector<unsigned char>& bytes, IFxProgram* program)
{
  return ParseFxProgram(bytes.data(), bytes.size(), program);
}

EFxFileError Parse(const std::vector<unsigned char>& bytes, IFxBank* bank)
{
  return ParseFxBank(bytes.data(), bytes.size(), bank);
}

// A whole program or bank file, checked to be sound and made for this
// plug-in before any of it is used.
template <class Record>
bool ReadRecord(HostedPlugin* plugin, const std::string& path, Record* record, std::string* error)
{
  std::vector<unsigned char> bytes;
  return ReadWholeFile(path, &bytes, error) && !CodecFailed(Parse(bytes, record), path, error) &&
         CheckPluginID(record->mPluginID, plugin, path, error);
}

// The plug-in's program or bank chunk, copied out of its buffer.
bool FetchChunk(HostedPlugin* plugin, bool isProgram, ByteChunk* chunk, std::string* error)
{
  void* data = nullptr;
  const VstIntPtr size = plugin->Dispatch(effGetChunk, isProgram ? 1 : 0, 0, &data);
  if (size > 0 && data && size <= kFxMaxFileSize &&
      chunk->AppendBytes(data, static_cast<int>(size)) == static_cast<int>(size))
    return true;
  *error = std::string("the plug-in gave no ") + (isProgram ? "program" : "bank") + " chunk";
  return false;
}

// The plug-in's current program, values or chunk, into a record.
bool CaptureProgram(HostedPlugin* plugin, bool chunkForm, IFxProgram* program, std::string* error)
{
  AEffect* e = plugin->Effect();
  program->mForm = chunkForm ? kFxProgramChunkForm : kFxProgramParamsForm;
  program->mPluginID = e->uniqueID;
  program->mPluginVersion = e->version;
  program->mNumParams = e->numParams;
  program->SetName(plugin->GetText(effGetProgramName, 0, 256).c_str());
  if (chunkForm) return FetchChunk(plugin, true, &program->mChunk, error);
  float* values = program->mValues.Resize(e->numParams);
  for (int i = 0; i < e->numParams; ++i) values[i] = e->getParameter(e, i);
  return true;
}

void ApplyProgramName(HostedPlugin* plugin, const char* name)
{
  if (!name[0]) return;
  char buffer[kFxNameSize + 1] = {};
  std::memcpy(buffer, name, std::min(std::strlen(name), static_cast<size_t>(kFxNameSize)));
  plugin->Dispatch(effSetProgramName, 0, 0, buffer);
}

bool ApplyChunk(HostedPlugin* plugin, const ByteChunk& chunk, bool isProgram, const std::string& path,
                std::string* error)
{
  std::vector<unsigned char> copy(chunk.Data(), chunk.Data() + chunk.Size());
  if (plugin->Dispatch(effSetChunk, isProgram ? 1 : 0, chunk.Size(), copy.empty() ? nullptr : copy.data()) !=
      0)
    return true;
  *error = "the plug-in rejected the chunk in " + path;
  return false;
}

void ApplyValues(HostedPlugin* plugin, const IFxProgram& program, const std::string& path)
{
  AEffect* e = plugin->Effect();
  const int stored = program.mValues.GetSize();
  const int n = std::min(e->numParams, stored);
  for (int i = 0; i < n; ++i) e->setParameter(e, i, program.mValues.Get()[i]);
  if (stored != e->numParams)
    ReportNote(path + " holds " + std::to_string(stored) + " parameter values; the plug-in has " +
               std::to_string(e->numParams));
  ApplyProgramName(plugin, program.mName);
}

}  // namespace

std::string FourCCText(int code)
{
  char text[5];
  for (int i = 0; i < 4; ++i) {
    const int c = (static_cast<unsigned>(code) >> (24 - 8 * i)) & 0xFF;
    if (c < 32 || c > 126) return std::to_string(code);
    text[i] = static_cast<char>(c);
  }
  text[4] = '\0';
  return std::string("'") + text + "'";
}

bool SaveProgramFile(HostedPlugin* plugin, const std::string& path, bool noClobber, std::string* error)
{
  IFxProgram program;
  if (!CaptureProgram(plugin, plugin->HasFlag(effFlagsProgramChunks), &program, error)) return false;
  ByteChunk image;
  if (CodecFailed(BuildFxProgram(program, &image), path, error)) return false;
  return WriteImage(image, path, noClobber, error);
}

bool SaveBankFile(HostedPlugin* plugin, const std::string& path, bool noClobber, std::string* error)
{
  AEffect* e = plugin->Effect();
  IFxBank bank;
  bank.mForm = plugin->HasFlag(effFlagsProgramChunks) ? kFxBankChunkForm : kFxBankProgramsForm;
  bank.mPluginID = e->uniqueID;
  bank.mPluginVersion = e->version;
  bank.mNumPrograms = e->numPrograms;
  bank.mCurrentProgram = static_cast<int>(plugin->Dispatch(effGetProgram));
  if (bank.IsChunkForm()) {
    if (!FetchChunk(plugin, false, &bank.mChunk, error)) return false;
  } else {
    // Each program is read by making it current; the current one is made
    // current again at the end.
    for (int i = 0; i < e->numPrograms; ++i) {
      plugin->Dispatch(effSetProgram, 0, i);
      IFxProgram* program = bank.AddProgram();
      if (!program || !CaptureProgram(plugin, false, program, error)) return false;
    }
    plugin->Dispatch(effSetProgram, 0, bank.mCurrentProgram);
  }
  ByteChunk image;
  if (CodecFailed(BuildFxBank(bank, &image), path, error)) return false;
  return WriteImage(image, path, noClobber, error);
}

bool LoadProgramFile(HostedPlugin* plugin, const std::string& path, std::string* error)
{
  IFxProgram program;
  if (!ReadRecord(plugin, path, &program, error)) return false;
  if (!program.IsChunkForm()) {
    ApplyValues(plugin, program, path);
    return true;
  }
  if (!ApplyChunk(plugin, program.mChunk, true, path, error)) return false;
  ApplyProgramName(plugin, program.mName);
  return true;
}

bool LoadBankFile(HostedPlugin* plugin, const std::string& path, std::string* error)
{
  IFxBank bank;
  if (!ReadRecord(plugin, path, &bank, error)) return false;
  if (bank.IsChunkForm()) return ApplyChunk(plugin, bank.mChunk, false, path, error);

  AEffect* e = plugin->Effect();
  const int count = bank.NPrograms();
  const int usable = std::min(count, e->numPrograms);
  for (int i = 0; i < usable; ++i) {
    plugin->Dispatch(effSetProgram, 0, i);
    ApplyValues(plugin, *bank.GetProgram(i), path);
  }
  if (count > usable)
    ReportNote("the plug-in has " + std::to_string(e->numPrograms) + " programs; the last " +
               std::to_string(count - usable) + " of " + path + " were skipped");
  if (bank.mCurrentProgram >= 0 && bank.mCurrentProgram < usable)
    plugin->Dispatch(effSetProgram, 0, bank.mCurrentProgram);
  return true;
}
