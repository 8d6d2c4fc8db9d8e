// Writes PNG images with libpng for the loader tests, and works out the
// pixel each image must load as, straight from the stored samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <png.h>

struct TestImage {
  int width = 0;
  int height = 0;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  // width * height * channels samples, each within the bit depth's range;
  // palette images hold one index per pixel.
  std::vector<unsigned> samples;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;  // tRNS for palette images
  bool hasTransparentColor = false;    // tRNS for grey and RGB images
  png_color_16 transparentColor{};

  int Channels() const;
  unsigned Sample(int x, int y, int channel) const;
};

// Fills an image of the given type with a varied sample pattern that
// reaches both ends of the bit depth's range.
TestImage MakeTestImage(int colorType, int bitDepth, int width, int height, bool interlaced = false);

std::vector<unsigned char> WritePNG(const TestImage& image);
// A valid all-black 1-bit grey image of any size, written row by row.
std::vector<unsigned char> WriteBlankPNG(uint32_t width, uint32_t height);
bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

// Chunk surgery for building damaged files. A chunk's offset is that of its
// length field; FindChunk gives the first chunk of the type, or 0.
size_t FindChunk(const std::vector<unsigned char>& png, const char* type);
uint32_t ChunkLength(const std::vector<unsigned char>& png, size_t chunk);
void PutBigEndian32(std::vector<unsigned char>& png, size_t offset, uint32_t value);
// Recomputes the CRC of the chunk at offset after its data was changed.
void FixChunkCRC(std::vector<unsigned char>& png, size_t chunk);

// The 0xAARRGGBB pixel that (x, y) of the image must load as.
uint32_t ExpectedPixel(const TestImage& image, int x, int y);
