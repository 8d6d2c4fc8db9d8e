#include "tests/pix/png_test_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

int TestImage::Channels() const
{
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
      return 1;
    case PNG_COLOR_TYPE_PALETTE:
      return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    default:
      return 4;
  }
}

unsigned TestImage::Sample(int x, int y, int channel) const
{
  return samples[(static_cast<size_t>(y) * width + x) * Channels() + channel];
}

TestImage MakeTestImage(int colorType, int bitDepth, int width, int height, bool interlaced)
{
  TestImage image;
  image.width = width;
  image.height = height;
  image.colorType = colorType;
  image.bitDepth = bitDepth;
  image.interlaced = interlaced;
  const unsigned maxSample = colorType == PNG_COLOR_TYPE_PALETTE ? 0 : (1u << bitDepth) - 1;
  const int channels = image.Channels();
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    const int entries = 1 << bitDepth;
    for (int i = 0; i < entries; ++i) {
      image.palette.push_back(png_color{static_cast<png_byte>(i * 37 + 5),
                                        static_cast<png_byte>(255 - i * 11), static_cast<png_byte>(i * 73)});
    }
  }
  uint32_t seed = 12345u + colorType * 97u + bitDepth;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        seed = seed * 1664525u + 1013904223u;
        unsigned value;
        if (colorType == PNG_COLOR_TYPE_PALETTE) {
          value = (seed >> 16) % image.palette.size();
        } else if (y == 0 && x < 2) {
          value = x == 0 ? 0 : maxSample;  // both ends of the range
        } else {
          value = (seed >> 8) & maxSample;
        }
        image.samples.push_back(value);
      }
    }
  }
  return image;
}

namespace {

void AppendBytes(png_structp png, png_bytep data, size_t length)
{
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

std::vector<unsigned char> PackRow(const TestImage& image, int y)
{
  const int perRow = image.width * image.Channels();
  std::vector<unsigned char> row;
  if (image.bitDepth == 16) {
    for (int i = 0; i < perRow; ++i) {
      unsigned v = image.samples[static_cast<size_t>(y) * perRow + i];
      row.push_back(static_cast<unsigned char>(v >> 8));
      row.push_back(static_cast<unsigned char>(v & 0xFF));
    }
  } else if (image.bitDepth == 8) {
    for (int i = 0; i < perRow; ++i)
      row.push_back(static_cast<unsigned char>(image.samples[static_cast<size_t>(y) * perRow + i]));
  } else {
    // Low bit depths pack the leftmost pixel into the most significant bits.
    const int perByte = 8 / image.bitDepth;
    row.assign((perRow + perByte - 1) / perByte, 0);
    for (int i = 0; i < perRow; ++i) {
      unsigned v = image.samples[static_cast<size_t>(y) * perRow + i];
      int shift = 8 - image.bitDepth * (i % perByte + 1);
      row[i / perByte] |= static_cast<unsigned char>(v << shift);
    }
  }
  return row;
}

}  // namespace

std::vector<unsigned char> WritePNG(const TestImage& image)
{
  std::vector<unsigned char> out;
  std::vector<std::vector<unsigned char>> rows;
  for (int y = 0; y < image.height; ++y) rows.push_back(PackRow(image, y));
  std::vector<png_bytep> rowPointers;
  for (auto& row : rows) rowPointers.push_back(row.data());

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty()) {
    png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
  }
  if (!image.paletteAlpha.empty()) {
    png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()), nullptr);
  } else if (image.hasTransparentColor) {
    png_color_16 color = image.transparentColor;
    png_set_tRNS(png, info, nullptr, 0, &color);
  }
  png_write_info(png, info);
  if (image.interlaced) png_set_interlace_handling(png);
  png_write_image(png, rowPointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<unsigned char> WriteBlankPNG(uint32_t width, uint32_t height)
{
  std::vector<unsigned char> out;
  std::vector<unsigned char> row((width + 7) / 8, 0);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, width, height, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < height; ++y) png_write_row(png, row.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

namespace {

unsigned To8Bit(unsigned sample, int bitDepth)
{
  switch (bitDepth) {
    case 1:
      return sample * 255;
    case 2:
      return sample * 85;
    case 4:
      return sample * 17;
    case 16:
      return sample >> 8;
    default:
      return sample;
  }
}

}  // namespace

uint32_t ExpectedPixel(const TestImage& image, int x, int y)
{
  unsigned r, g, b, a = 255;
  switch (image.colorType) {
    case PNG_COLOR_TYPE_PALETTE: {
      unsigned index = image.Sample(x, y, 0);
      r = image.palette[index].red;
      g = image.palette[index].green;
      b = image.palette[index].blue;
      if (index < image.paletteAlpha.size()) a = image.paletteAlpha[index];
      break;
    }
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
      unsigned grey = image.Sample(x, y, 0);
      r = g = b = To8Bit(grey, image.bitDepth);
      if (image.colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        a = To8Bit(image.Sample(x, y, 1), image.bitDepth);
      } else if (image.hasTransparentColor && grey == image.transparentColor.gray) {
        a = 0;
      }
      break;
    }
    default: {
      unsigned sr = image.Sample(x, y, 0), sg = image.Sample(x, y, 1), sb = image.Sample(x, y, 2);
      r = To8Bit(sr, image.bitDepth);
      g = To8Bit(sg, image.bitDepth);
      b = To8Bit(sb, image.bitDepth);
      if (image.colorType == PNG_COLOR_TYPE_RGB_ALPHA) {
        a = To8Bit(image.Sample(x, y, 3), image.bitDepth);
      } else if (image.hasTransparentColor && sr == image.transparentColor.red &&
                 sg == image.transparentColor.green && sb == image.transparentColor.blue) {
        a = 0;
      }
      break;
    }
  }
  return (a << 24) | (r << 16) | (g << 8) | b;
}

size_t FindChunk(const std::vector<unsigned char>& png, const char* type)
{
  for (size_t at = 8; at + 12 <= png.size(); at += 12 + ChunkLength(png, at)) {
    if (std::memcmp(&png[at + 4], type, 4) == 0) return at;
  }
  return 0;
}

uint32_t ChunkLength(const std::vector<unsigned char>& png, size_t chunk)
{
  return (uint32_t(png[chunk]) << 24) | (uint32_t(png[chunk + 1]) << 16) | (uint32_t(png[chunk + 2]) << 8) |
         png[chunk + 3];
}

void PutBigEndian32(std::vector<unsigned char>& png, size_t offset, uint32_t value)
{
  for (int i = 0; i < 4; ++i) png[offset + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

void FixChunkCRC(std::vector<unsigned char>& png, size_t chunk)
{
  // CRC-32 (polynomial 0xEDB88320) over the chunk type and data.
  const uint32_t length = ChunkLength(png, chunk);
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = chunk + 4; i < chunk + 8 + length; ++i) {
    crc ^= png[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  PutBigEndian32(png, chunk + 8 + length, crc ^ 0xFFFFFFFFu);
}
