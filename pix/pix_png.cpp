#include "pix/pix_png.h"

#include <strings.h>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <dlfcn.h>
#include <png.h>

#include "pix/pix_membitmap.h"

namespace {

// Ancillary chunks kept per image, and the largest ancillary chunk libpng
// will buffer (text, colour profiles); larger ones are not read into memory.
const png_uint_32 kMaxCachedChunks = 128;
const png_alloc_size_t kMaxChunkBytes = 4 * 1024 * 1024;

// Everything one load holds. It lives in the caller's frame, outside the
// function that sets the jump point, so after a library error every field
// is still what it was when the error happened and can be released.
struct PNGLoad {
  FILE* file = nullptr;
  const unsigned char* cursor = nullptr;  // memory source
  size_t remaining = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_bytepp rows = nullptr;
  PIX_IBitmap* image = nullptr;  // decoded pixels, owned by the load
  png_uint_32 width = 0;
  png_uint_32 height = 0;
};

void ReleaseLoad(PNGLoad& load)
{
  if (load.png) png_destroy_read_struct(&load.png, load.info ? &load.info : nullptr, nullptr);
  load.png = nullptr;
  load.info = nullptr;
  if (load.file) std::fclose(load.file);
  load.file = nullptr;
  std::free(load.rows);
  load.rows = nullptr;
  delete load.image;
  load.image = nullptr;
}

// Hands libpng the next bytes of the buffer. Bytes past the end read as
// zeros, so a truncated buffer ends in a decoding error, not a read overrun.
void ReadFromMemory(png_structp png, png_bytep out, size_t count)
{
  auto* load = static_cast<PNGLoad*>(png_get_io_ptr(png));
  std::memset(out, 0, count);
  size_t n = count < load->remaining ? count : load->remaining;
  if (n) {
    std::memcpy(out, load->cursor, n);
    load->cursor += n;
    load->remaining -= n;
  }
}

// Asks libpng to deliver every image as 8-bit alpha, red, green, blue.
void RequestARGB(png_structp png, png_infop info, int bitDepth, int colorType)
{
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if ((colorType & ~PNG_COLOR_MASK_ALPHA) == PNG_COLOR_TYPE_GRAY) png_set_gray_to_rgb(png);
  if (colorType & PNG_COLOR_MASK_ALPHA) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

bool WithinSizeLimits(png_uint_32 width, png_uint_32 height)
{
  return width > 0 && height > 0 && width <= PIX_PNG_MAX_SIDE && height <= PIX_PNG_MAX_SIDE &&
         static_cast<uint64_t>(width) * height <= PIX_PNG_MAX_PIXELS;
}

// The part of a load during which libpng may jump back on an error. It
// creates no object with a destructor: a long jump passes straight over it.
bool DecodeRows(PNGLoad* load)
{
  int bitDepth, colorType, interlace, compression, filter;
  png_read_info(load->png, load->info);
  png_get_IHDR(load->png, load->info, &load->width, &load->height, &bitDepth, &colorType, &interlace,
               &compression, &filter);
  RequestARGB(load->png, load->info, bitDepth, colorType);
  if (!WithinSizeLimits(load->width, load->height)) return false;

  const int width = static_cast<int>(load->width), height = static_cast<int>(load->height);
  load->image = new (std::nothrow) PIX_MemBitmap(width, height, 4);
  if (!load->image || load->image->getWidth() != width || load->image->getHeight() != height ||
      !load->image->getBits()) {
    return false;
  }
  load->rows = static_cast<png_bytepp>(std::malloc(sizeof(png_bytep) * height));
  if (!load->rows) return false;
  PIX_pixel* bits = load->image->getBits();
  const int span = load->image->getRowSpan();
  for (int y = 0; y < height; ++y)
    load->rows[y] = reinterpret_cast<png_bytep>(bits + static_cast<size_t>(y) * span);
  png_read_image(load->png, load->rows);
  return true;
}

bool DecodeGuarded(PNGLoad* load)
{
  std::jmp_buf* jump = png_set_longjmp_fn(load->png, std::longjmp, sizeof(std::jmp_buf));
  if (!jump || setjmp(*jump)) return false;
  return DecodeRows(load);
}

// Rows arrive as the bytes alpha, red, green, blue; pixels are native
// 0xAARRGGBB words.
void ConvertARGBBytes(PIX_IBitmap* image)
{
  const int width = image->getWidth(), height = image->getHeight(), span = image->getRowSpan();
  PIX_pixel* row = image->getBits();
  for (int y = 0; y < height; ++y, row += span) {
    auto* bytes = reinterpret_cast<const unsigned char*>(row);
    for (int x = 0; x < width; ++x, bytes += 4) {
      row[x] = (static_cast<PIX_pixel>(bytes[0]) << 24) | (static_cast<PIX_pixel>(bytes[1]) << 16) |
               (static_cast<PIX_pixel>(bytes[2]) << 8) | static_cast<PIX_pixel>(bytes[3]);
    }
  }
}

// Moves the decoded image into the caller's bitmap, which is only touched
// once the whole image has decoded. A flipped bitmap keeps its top row last
// in memory.
bool CopyIntoTarget(PIX_IBitmap* image, PIX_IBitmap* target)
{
  const int width = image->getWidth(), height = image->getHeight();
  target->resize(width, height);
  PIX_pixel* bits = target->getBits();
  const int span = target->getRowSpan();
  if (target->getWidth() != width || target->getHeight() != height || !bits || span < width) return false;
  const PIX_pixel* src = image->getBits();
  const int srcSpan = image->getRowSpan();
  const bool flipped = target->isFlipped();
  for (int y = 0; y < height; ++y, src += srcSpan) {
    const int memoryRow = flipped ? height - 1 - y : y;
    std::memcpy(bits + static_cast<ptrdiff_t>(memoryRow) * span, src, sizeof(PIX_pixel) * width);
  }
  return true;
}

// The load shared by the file and memory forms; attach connects the source
// to the read structure.
PIX_IBitmap* LoadFrom(PNGLoad& load, void (*attach)(PNGLoad&), PIX_IBitmap* bmp)
{
  load.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!load.png) {
    ReleaseLoad(load);
    return nullptr;
  }
  load.info = png_create_info_struct(load.png);
  if (!load.info) {
    ReleaseLoad(load);
    return nullptr;
  }
  png_set_user_limits(load.png, PIX_PNG_MAX_SIDE, PIX_PNG_MAX_SIDE);
  png_set_chunk_cache_max(load.png, kMaxCachedChunks);
  png_set_chunk_malloc_max(load.png, kMaxChunkBytes);
  attach(load);

  if (!DecodeGuarded(&load)) {
    ReleaseLoad(load);
    return nullptr;
  }
  png_destroy_read_struct(&load.png, &load.info, nullptr);
  if (load.file) std::fclose(load.file);
  load.file = nullptr;

  ConvertARGBBytes(load.image);
  PIX_IBitmap* result = load.image;
  if (bmp) {
    result = CopyIntoTarget(load.image, bmp) ? bmp : nullptr;
  } else {
    load.image = nullptr;  // handed to the caller
  }
  ReleaseLoad(load);
  return result;
}

void AttachFile(PNGLoad& load) { png_init_io(load.png, load.file); }

void AttachMemory(PNGLoad& load) { png_set_read_fn(load.png, &load, ReadFromMemory); }

}  // namespace

PIX_IBitmap* PIX_LoadPNG(const char* filename, PIX_IBitmap* bmp)
{
  if (!filename) return nullptr;
  PNGLoad load;
  load.file = std::fopen(filename, "rb");
  if (!load.file) return nullptr;
  return LoadFrom(load, AttachFile, bmp);
}

PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, int len, PIX_IBitmap* bmp)
{
  if (!data || len < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
  PNGLoad load;
  load.cursor = static_cast<const unsigned char*>(data);
  load.remaining = static_cast<size_t>(len);
  return LoadFrom(load, AttachMemory, bmp);
}

namespace {

const int kMaxResourceNameLength = 400;
const size_t kMaxFolderPathLength = 1536;

// Folder of the shared object (or program) this code is linked into: for
// the plug-in, the folder holding Quarry.so.
bool ModuleFolder(char* folder, size_t size)
{
  Dl_info info;
  char* path = nullptr;
  if (dladdr(reinterpret_cast<void*>(&PIX_LoadPNGFromNamedResource), &info) && info.dli_fname &&
      std::strchr(info.dli_fname, '/')) {
    path = realpath(info.dli_fname, nullptr);
  }
  if (!path) path = realpath("/proc/self/exe", nullptr);
  if (!path) return false;
  char* slash = std::strrchr(path, '/');
  bool ok = slash && slash != path && static_cast<size_t>(slash - path) < size;
  if (ok) {
    std::memcpy(folder, path, slash - path);
    folder[slash - path] = 0;
  }
  std::free(path);
  return ok;
}

}  // namespace

PIX_IBitmap* PIX_LoadPNGFromNamedResource(const char* name, PIX_IBitmap* bmp)
{
  if (!name || !*name || std::strlen(name) > kMaxResourceNameLength) return nullptr;
  char folder[kMaxFolderPathLength + 1];
  if (!ModuleFolder(folder, sizeof(folder)) || !folder[0]) return nullptr;
  char path[2048];
  std::snprintf(path, sizeof(path), "%s/resources/%s", folder, name);
  return PIX_LoadPNG(path, bmp);
}

PIX_IBitmap* PIX_LoadPNGFromResource(void*, const char*, PIX_IBitmap*) { return nullptr; }

PIX_IBitmap* PIX_PNGLoader::loadfunc(const char* filename, int checkFileName, PIX_IBitmap* bmp)
{
  if (!filename) return nullptr;
  if (checkFileName) {
    // The extension starts at the last '.', unless a path separator
    // comes after it.
    const char* ext = filename + std::strlen(filename);
    while (ext > filename && ext[-1] != '.' && ext[-1] != '/' && ext[-1] != '\\') --ext;
    if (ext == filename || ext[-1] != '.' || strcasecmp(ext, "png") != 0) return nullptr;
  }
  return PIX_LoadPNG(filename, bmp);
}

const char* PIX_PNGLoader::get_extlist() { return "PNG files (*.PNG)\0*.PNG\0"; }

PIX_ImageLoader* PIX_ImageLoader_list = nullptr;
PIX_ImageLoader PIX_pngldr = {nullptr, nullptr, nullptr};

namespace {

// Links the PNG loader into the registry when the library is loaded.
struct PNGLoaderRegistration {
  PNGLoaderRegistration()
  {
    PIX_pngldr.loadfunc = PIX_PNGLoader::loadfunc;
    PIX_pngldr.get_extlist = PIX_PNGLoader::get_extlist;
    PIX_pngldr._next = PIX_ImageLoader_list;
    PIX_ImageLoader_list = &PIX_pngldr;
  }
} s_pngLoaderRegistration;

}  // namespace
