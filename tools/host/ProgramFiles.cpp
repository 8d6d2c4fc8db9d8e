#include "tools/host/ProgramFiles.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/host/HostedPlugin.h"
#include "tools/host/SafeOutputFile.h"

namespace {

const int kProgramHeaderSize = 56;
const int kBankHeaderSize = 156;
const int kNameFieldSize = 28;
// Files larger than this are not program or bank files of any sane plug-in.
const long kMaxFileSize = 256L * 1024 * 1024;

int Magic(const char* text) { return CCONST(text[0], text[1], text[2], text[3]); }

// Big-endian file image under construction.
class FileImage {
public:
  void Int(int v)
  {
    const unsigned u = static_cast<unsigned>(v);
    const unsigned char b[4] = {static_cast<unsigned char>(u >> 24), static_cast<unsigned char>(u >> 16),
                                static_cast<unsigned char>(u >> 8), static_cast<unsigned char>(u)};
    m_bytes.insert(m_bytes.end(), b, b + 4);
  }
  void Float(float f)
  {
    int v;
    std::memcpy(&v, &f, 4);
    Int(v);
  }
  void Name(const std::string& name)
  {
    char field[kNameFieldSize] = {};
    std::strncpy(field, name.c_str(), kNameFieldSize - 1);  // keeps a terminating zero
    Bytes(field, kNameFieldSize);
  }
  void Zeros(int n) { m_bytes.insert(m_bytes.end(), static_cast<size_t>(n), 0); }
  void Bytes(const void* p, size_t n)
  {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    m_bytes.insert(m_bytes.end(), b, b + n);
  }
  // The byte size field counts everything behind itself.
  void FixByteSize() { Patch(4, static_cast<int>(m_bytes.size()) - 8); }
  void Patch(size_t at, int v)
  {
    FileImage tmp;
    tmp.Int(v);
    std::memcpy(&m_bytes[at], tmp.m_bytes.data(), 4);
  }
  const std::vector<unsigned char>& Data() const { return m_bytes; }

private:
  std::vector<unsigned char> m_bytes;
};

// Bounds-checked big-endian reads over a file image.
class FileReader {
public:
  FileReader(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}
  bool Has(size_t at, size_t n) const { return at <= m_size && n <= m_size - at; }
  int Int(size_t at) const
  {
    const unsigned char* p = m_data + at;
    return static_cast<int>((static_cast<unsigned>(p[0]) << 24) | (static_cast<unsigned>(p[1]) << 16) |
                            (static_cast<unsigned>(p[2]) << 8) | static_cast<unsigned>(p[3]));
  }
  float Float(size_t at) const
  {
    const int v = Int(at);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
  }
  std::string Name(size_t at) const
  {
    const char* p = reinterpret_cast<const char*>(m_data + at);
    return std::string(p, strnlen(p, kNameFieldSize));
  }
  const unsigned char* At(size_t at) const { return m_data + at; }

private:
  const unsigned char* m_data;
  size_t m_size;
};

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
  while ((got = std::fread(block, 1, sizeof block, f)) > 0) {
    bytes->insert(bytes->end(), block, block + got);
    if (bytes->size() > static_cast<size_t>(kMaxFileSize)) {
      std::fclose(f);
      *error = path + " is far too large for a program or bank file";
      return false;
    }
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) *error = "cannot read " + path;
  return !failed;
}

std::string ProgramName(HostedPlugin* plugin) { return plugin->GetText(effGetProgramName, 0, 256); }

void WriteProgramHeader(FileImage* image, HostedPlugin* plugin, int form, const std::string& name)
{
  AEffect* e = plugin->Effect();
  image->Int(Magic("CcnK"));
  image->Int(0);  // byte size, patched for a whole file
  image->Int(form);
  image->Int(1);  // format version
  image->Int(e->uniqueID);
  image->Int(e->version);
  image->Int(e->numParams);
  image->Name(name);
}

void WriteParameterList(FileImage* image, HostedPlugin* plugin)
{
  AEffect* e = plugin->Effect();
  for (int i = 0; i < e->numParams; ++i) image->Float(e->getParameter(e, i));
}

bool AppendPluginChunk(FileImage* image, HostedPlugin* plugin, bool isProgram, std::string* error)
{
  void* chunk = nullptr;
  const VstIntPtr size = plugin->Dispatch(effGetChunk, isProgram ? 1 : 0, 0, &chunk);
  if (size <= 0 || !chunk || size > kMaxFileSize) {
    *error = std::string("the plug-in gave no ") + (isProgram ? "program" : "bank") + " chunk";
    return false;
  }
  image->Int(static_cast<int>(size));
  image->Bytes(chunk, static_cast<size_t>(size));
  return true;
}

bool CheckPluginID(const FileReader& file, HostedPlugin* plugin, const std::string& what, std::string* error)
{
  const int id = file.Int(16);
  if (id == plugin->Effect()->uniqueID) return true;
  *error = what + " was made for plug-in " + FourCCText(id) + ", not for " +
           FourCCText(plugin->Effect()->uniqueID);
  return false;
}

// Chunk forms: a 32-bit chunk size at offset, then the chunk.
bool SetChunkFrom(const FileReader& file, size_t offset, HostedPlugin* plugin, bool isProgram,
                  const std::string& what, std::string* error)
{
  if (!file.Has(offset, 4)) {
    *error = what + " ends before its chunk";
    return false;
  }
  const int size = file.Int(offset);
  if (size < 0 || !file.Has(offset + 4, static_cast<size_t>(size))) {
    *error = what + " is cut short: its chunk claims " + std::to_string(size) + " bytes";
    return false;
  }
  std::vector<unsigned char> chunk(file.At(offset + 4), file.At(offset + 4) + size);
  if (plugin->Dispatch(effSetChunk, isProgram ? 1 : 0, size, chunk.empty() ? nullptr : chunk.data()) == 0) {
    *error = "the plug-in rejected the chunk in " + what;
    return false;
  }
  return true;
}

// One parameter-list program at offset; checked fully before use.
struct ListProgram {
  std::string name;
  std::vector<float> values;
};

bool ReadListProgram(const FileReader& file, size_t offset, const std::string& what, ListProgram* out,
                     size_t* end, std::string* error)
{
  if (!file.Has(offset, kProgramHeaderSize)) {
    *error = what + " is cut short inside a program header";
    return false;
  }
  if (file.Int(offset) != Magic("CcnK") || file.Int(offset + 8) != Magic("FxCk")) {
    *error = what + " holds a program that is not a parameter list";
    return false;
  }
  const int count = file.Int(offset + 24);
  if (count < 0 || !file.Has(offset + kProgramHeaderSize, static_cast<size_t>(count) * 4)) {
    *error = what + " is cut short: a program claims " + std::to_string(count) + " parameters";
    return false;
  }
  out->name = file.Name(offset + 28);
  out->values.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out->values[i] = file.Float(offset + kProgramHeaderSize + 4 * i);
  *end = offset + kProgramHeaderSize + static_cast<size_t>(count) * 4;
  return true;
}

void ApplyListProgram(HostedPlugin* plugin, const ListProgram& program)
{
  AEffect* e = plugin->Effect();
  const int n = std::min(e->numParams, static_cast<int>(program.values.size()));
  for (int i = 0; i < n; ++i) e->setParameter(e, i, program.values[i]);
  if (!program.name.empty()) {
    char name[kNameFieldSize + 1] = {};
    std::memcpy(name, program.name.data(), program.name.size());
    plugin->Dispatch(effSetProgramName, 0, 0, name);
  }
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

bool SaveProgramFile(HostedPlugin* plugin, const std::string& path, std::string* error)
{
  FileImage image;
  if (plugin->HasFlag(effFlagsProgramChunks)) {
    WriteProgramHeader(&image, plugin, Magic("FPCh"), ProgramName(plugin));
    if (!AppendPluginChunk(&image, plugin, true, error)) return false;
  } else {
    WriteProgramHeader(&image, plugin, Magic("FxCk"), ProgramName(plugin));
    WriteParameterList(&image, plugin);
  }
  image.FixByteSize();
  return SafeOutputFile::WriteWhole(path, image.Data().data(), image.Data().size(), error);
}

bool SaveBankFile(HostedPlugin* plugin, const std::string& path, std::string* error)
{
  AEffect* e = plugin->Effect();
  const bool chunks = plugin->HasFlag(effFlagsProgramChunks);
  const int current = static_cast<int>(plugin->Dispatch(effGetProgram));
  FileImage image;
  image.Int(Magic("CcnK"));
  image.Int(0);
  image.Int(Magic(chunks ? "FBCh" : "FxBk"));
  image.Int(2);  // format version: the current program is stored
  image.Int(e->uniqueID);
  image.Int(e->version);
  image.Int(e->numPrograms);
  image.Int(current);
  image.Zeros(124);
  if (chunks) {
    if (!AppendPluginChunk(&image, plugin, false, error)) return false;
  } else {
    // Each program is read by making it current; the current one is made
    // current again at the end.
    for (int i = 0; i < e->numPrograms; ++i) {
      plugin->Dispatch(effSetProgram, 0, i);
      WriteProgramHeader(&image, plugin, Magic("FxCk"), ProgramName(plugin));
      WriteParameterList(&image, plugin);
    }
    plugin->Dispatch(effSetProgram, 0, current);
  }
  image.FixByteSize();
  return SafeOutputFile::WriteWhole(path, image.Data().data(), image.Data().size(), error);
}

bool ApplyProgramImage(HostedPlugin* plugin, const unsigned char* data, size_t size, std::string* error)
{
  const std::string what = "the program file";
  FileReader file(data, size);
  if (!file.Has(0, kProgramHeaderSize) || file.Int(0) != Magic("CcnK")) {
    *error = what + " is not a VST program file (no 'CcnK' header)";
    return false;
  }
  if (!CheckPluginID(file, plugin, what, error)) return false;
  const int form = file.Int(8);
  if (form == Magic("FPCh")) {
    if (!SetChunkFrom(file, kProgramHeaderSize, plugin, true, what, error)) return false;
    const std::string name = file.Name(28);
    if (!name.empty()) {
      char buffer[kNameFieldSize + 1] = {};
      std::memcpy(buffer, name.data(), name.size());
      plugin->Dispatch(effSetProgramName, 0, 0, buffer);
    }
    return true;
  }
  if (form == Magic("FxCk")) {
    ListProgram program;
    size_t end = 0;
    if (!ReadListProgram(file, 0, what, &program, &end, error)) return false;
    ApplyListProgram(plugin, program);
    return true;
  }
  *error = what + " has the unknown form " + FourCCText(form);
  return false;
}

bool ApplyBankImage(HostedPlugin* plugin, const unsigned char* data, size_t size, std::string* error)
{
  const std::string what = "the bank file";
  FileReader file(data, size);
  if (!file.Has(0, kBankHeaderSize) || file.Int(0) != Magic("CcnK")) {
    *error = what + " is not a VST bank file (no 'CcnK' header)";
    return false;
  }
  if (!CheckPluginID(file, plugin, what, error)) return false;
  const int form = file.Int(8);
  if (form == Magic("FBCh")) return SetChunkFrom(file, kBankHeaderSize, plugin, false, what, error);
  if (form != Magic("FxBk")) {
    *error = what + " has the unknown form " + FourCCText(form);
    return false;
  }
  const int count = file.Int(24);
  const int current = file.Int(12) >= 2 ? file.Int(28) : 0;
  if (count < 0 || count > static_cast<int>(size / kProgramHeaderSize)) {
    *error = what + " claims " + std::to_string(count) + " programs";
    return false;
  }
  std::vector<ListProgram> programs(static_cast<size_t>(count));
  size_t offset = kBankHeaderSize;
  for (int i = 0; i < count; ++i)
    if (!ReadListProgram(file, offset, what, &programs[i], &offset, error)) return false;

  AEffect* e = plugin->Effect();
  const int usable = std::min(count, e->numPrograms);
  for (int i = 0; i < usable; ++i) {
    plugin->Dispatch(effSetProgram, 0, i);
    ApplyListProgram(plugin, programs[i]);
  }
  if (count > usable)
    std::fprintf(stderr,
                 "quarry-host: note: the plug-in has %d programs; the last %d of the bank were skipped\n",
                 e->numPrograms, count - usable);
  if (current >= 0 && current < usable) plugin->Dispatch(effSetProgram, 0, current);
  return true;
}

bool LoadProgramFile(HostedPlugin* plugin, const std::string& path, std::string* error)
{
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  if (ApplyProgramImage(plugin, bytes.data(), bytes.size(), error)) return true;
  *error = path + ": " + *error;
  return false;
}

bool LoadBankFile(HostedPlugin* plugin, const std::string& path, std::string* error)
{
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  if (ApplyBankImage(plugin, bytes.data(), bytes.size(), error)) return true;
  *error = path + ": " + *error;
  return false;
}
