#include "framework/linux/LinuxResources.h"

#include <strings.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/string.h"
#include "framework/linux/LinuxPaths.h"

namespace {

// Zero-initialised before any constructor runs, so registration order
// between translation units does not matter.
LinuxResourceSet* s_sets = nullptr;

const size_t kSignatureAndHeader = 24;  // signature, IHDR length and type, width, height

uint32_t BigEndian32(const unsigned char* p)
{
  return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | (uint32_t)p[3];
}

// The override file for name, or "" when there is no override folder.
std::string OverridePath(const char* name, const char* overrideFolder)
{
  std::string folder;
  if (overrideFolder) {
    folder = overrideFolder;
  } else {
    BASE_String plugin;
    LinuxPluginPath(&plugin);
    if (!plugin.GetLength()) return "";
    folder = std::string(plugin.Get()) + "resources/img/";
  }
  if (folder.empty()) return "";
  if (folder.back() != '/') folder += '/';
  return folder + LinuxResourceLeafName(name);
}

// True when the file exists and starts with a valid PNG header.
bool FileHeaderSize(const std::string& path, int* width, int* height)
{
  if (path.empty()) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char head[kSignatureAndHeader];
  const size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  return LinuxPngHeaderSize(head, n, width, height);
}

}  // namespace

bool LinuxRegisterResources(LinuxResourceSet* set)
{
  for (LinuxResourceSet* s = s_sets; s; s = s->next)
    if (s == set) return true;
  set->next = s_sets;
  s_sets = set;
  return true;
}

const char* LinuxResourceLeafName(const char* name)
{
  if (!name) return "";
  const char* slash = std::strrchr(name, '/');
  return slash ? slash + 1 : name;
}

bool LinuxIsPngName(const char* name)
{
  const char* leaf = LinuxResourceLeafName(name);
  const char* dot = std::strrchr(leaf, '.');
  return dot && !strcasecmp(dot + 1, "png");
}

const LinuxResource* LinuxFindBuiltInResource(const char* bundleId, const char* name)
{
  if (!bundleId || !name) return nullptr;
  const char* leaf = LinuxResourceLeafName(name);
  for (const LinuxResourceSet* s = s_sets; s; s = s->next) {
    if (std::strcmp(s->bundleId, bundleId)) continue;
    for (int i = 0; i < s->count; ++i)
      if (!std::strcmp(s->items[i].name, leaf)) return &s->items[i];
  }
  return nullptr;
}

bool LinuxPngHeaderSize(const unsigned char* data, size_t size, int* width, int* height)
{
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!data || size < kSignatureAndHeader) return false;
  if (std::memcmp(data, kSignature, 8) || BigEndian32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4))
    return false;
  const uint32_t w = BigEndian32(data + 16), h = BigEndian32(data + 20);
  // The format allows up to 2^31 - 1 on each side; zero is invalid.
  if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) return false;
  if (width) *width = (int)w;
  if (height) *height = (int)h;
  return true;
}

bool LinuxFindImage(const char* bundleId, const char* name, LinuxImageSource* source,
                    const char* overrideFolder)
{
  if (!LinuxIsPngName(name)) return false;
  int w = 0, h = 0;
  const std::string path = OverridePath(name, overrideFolder);
  if (FileHeaderSize(path, &w, &h)) {
    source->path.Set(path.c_str());
    source->builtIn = nullptr;
  } else {
    const LinuxResource* r = LinuxFindBuiltInResource(bundleId, name);
    if (!r || !LinuxPngHeaderSize(r->data, r->size, &w, &h)) return false;
    source->path.Set("");
    source->builtIn = r;
  }
  source->width = w;
  source->height = h;
  return true;
}

bool LinuxImageSize(const char* bundleId, const char* name, int* width, int* height,
                    const char* overrideFolder)
{
  LinuxImageSource source;
  if (!LinuxFindImage(bundleId, name, &source, overrideFolder)) return false;
  if (width) *width = source.width;
  if (height) *height = source.height;
  return true;
}
