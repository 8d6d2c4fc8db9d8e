#pragma once
// The editor's images on Linux: PNG files built into the plug-in module at
// build time (quarry_embed_images in this folder's CMakeLists.txt), found by
// the bundle identifier that names the resource set and by the last part
// of the file name ("resources/img/bg.png" finds bg.png). A resources/img/
// folder beside the module, when it holds the file, is looked in first, so
// a user can reskin the editor without rebuilding.
//
// Building an editor needs only the images' sizes: LinuxImageSize reads
// them from the PNG header without decoding, so a plug-in that builds its
// editor in its constructor stays cheap to scan. Images are decoded
// (LinuxLoadImage) when the editor first draws.
//
// Threads: registration runs during static initialisation only; after it
// the sets never change, so every lookup may run on any thread without a
// lock. Loading reads files and decodes on the caller's thread (the editor's).

#include <cstddef>

#include "base/string.h"

class PIX_IBitmap;

// One file built into the module.
struct LinuxResource {
  const char* name;  // last part of the file name, "bg.png"
  const unsigned char* data;
  size_t size;
};

// The built-in files of one bundle identifier.
struct LinuxResourceSet {
  const char* bundleId;
  const LinuxResource* items;
  int count;
  LinuxResourceSet* next;  // set by registration
};

// Adds a set (called by the generated table's static initialiser); a set
// is never registered twice. Returns true so it can initialise a constant.
bool LinuxRegisterResources(LinuxResourceSet* set);

// The text after the last '/' of name.
const char* LinuxResourceLeafName(const char* name);
// True when the text after name's last '.' is "png" in any letter case
// (and that '.' lies in the last part of the name).
bool LinuxIsPngName(const char* name);

// The built-in file for name's last part in the bundle's set, or null.
const LinuxResource* LinuxFindBuiltInResource(const char* bundleId, const char* name);

// Width and height from a PNG's signature and IHDR chunk, without decoding;
// false for anything that is not a well-formed PNG header.
bool LinuxPngHeaderSize(const unsigned char* data, size_t size, int* width, int* height);

// Where an image comes from: the override folder's file when it exists and
// has a valid PNG header, else the built-in bytes. overrideFolder null
// means the module's own resources/img/ folder; "" means none.
struct LinuxImageSource {
  BASE_String path;                        // the override file, or ""
  const LinuxResource* builtIn = nullptr;  // used when path is ""
  int width = 0, height = 0;               // from the PNG header
};
// False (source unchanged) for names that are not png and names found nowhere.
bool LinuxFindImage(const char* bundleId, const char* name, LinuxImageSource* source,
                    const char* overrideFolder = nullptr);
// The size of that image, from its header only.
bool LinuxImageSize(const char* bundleId, const char* name, int* width, int* height,
                    const char* overrideFolder = nullptr);
// Decodes the same image into a new bitmap the caller owns; null when the
// name is not png, is found nowhere or does not decode. (Linked from the
// quarry_linux library; the lookups above need only quarry_linux_resources.)
PIX_IBitmap* LinuxLoadImage(const char* bundleId, const char* name, const char* overrideFolder = nullptr);
// Decodes the image a lookup found; null when it does not decode.
PIX_IBitmap* LinuxDecodeImage(const LinuxImageSource& source);
