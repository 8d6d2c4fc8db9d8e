#include "framework/ByteChunk.h"

#include <climits>

#include "base/string.h"

ByteChunk::ByteChunk() : mBytes(4096) {}

ByteChunk::ByteChunk(const ByteChunk& other) : mBytes(4096) { AppendChunk(&other); }

ByteChunk& ByteChunk::operator=(const ByteChunk& other)
{
  if (this != &other) {
    Clear();
    AppendChunk(&other);
  }
  return *this;
}

int ByteChunk::AppendBytes(const void* bytes, int count)
{
  const int size = Size();
  if (!bytes || count <= 0 || count > INT_MAX - size) return size;

  // The source may lie inside this chunk, whose buffer can move as it grows.
  const unsigned char* src = static_cast<const unsigned char*>(bytes);
  const unsigned char* base = mBytes.Get();
  const bool inside = base && src >= base && src < base + size;
  const long long offset = inside ? src - base : 0;

  unsigned char* data = mBytes.Resize(size + count, false);
  if (!data || Size() != size + count) return Size();
  if (inside) src = data + offset;
  std::memmove(data + size, src, static_cast<size_t>(count));
  return Size();
}

int ByteChunk::AppendString(const char* text)
{
  const size_t length = text ? std::strlen(text) : 0;
  const int size = Size();
  if (length > static_cast<size_t>(INT_MAX - 4) || static_cast<int>(length) + 4 > INT_MAX - size) return size;
  const int count = static_cast<int>(length);

  // Count and characters go in with one growth, so a failure adds neither.
  if (Resize(size + 4 + count) != size + 4 + count) return Size();
  unsigned char* data = mBytes.Get();
  std::memcpy(data + size, &count, 4);
  if (count > 0) std::memcpy(data + size + 4, text, static_cast<size_t>(count));
  return Size();
}

int ByteChunk::ReadString(BASE_String* str, int position) const
{
  int length = 0;
  const int countEnd = ReadValue(&length, position);
  if (!str || countEnd < 0 || length < 0) return -1;
  const long long end = static_cast<long long>(countEnd) + length;
  if (end > INT_MAX) return -1;
  if (end > Size()) return static_cast<int>(end);

  if (length < 1) {
    str->Set("");
  } else {
    const char* chars = reinterpret_cast<const char*>(Bytes() + countEnd);
    const void* zero = std::memchr(chars, 0, static_cast<size_t>(length));
    const int kept = zero ? static_cast<int>(static_cast<const char*>(zero) - chars) : length;
    if (kept > 0) str->Set(chars, kept);
    else str->Set("");
  }
  return static_cast<int>(end);
}

int ByteChunk::AppendChunk(const ByteChunk* other)
{
  if (!other) return Size();
  return AppendBytes(other->Data(), other->Size());
}

int ByteChunk::Resize(int count)
{
  if (count < 0) count = 0;
  const int size = Size();
  if (count == size) return size;
  unsigned char* data = mBytes.Resize(count, true);
  if (count > size) {
    if (!data || Size() != count) return Size();
    std::memset(data + size, 0, static_cast<size_t>(count - size));
  }
  return Size();
}

void ByteChunk::Clear() { mBytes.Resize(0, true); }

void InitChunkWithFrameworkVer(ByteChunk* chunk)
{
  if (!chunk) return;
  chunk->Clear();
  chunk->AppendValue(kFrameworkHeaderMagic);
  chunk->AppendValue(kFrameworkVersion);
}

int GetFrameworkVerFromChunk(const ByteChunk* chunk, int* position)
{
  if (!chunk || !position) return 0;
  int magic = 0;
  const int afterMagic = chunk->ReadValue(&magic, *position);
  if (afterMagic < 0 || magic != kFrameworkHeaderMagic) return 0;
  int version = 0;
  *position = chunk->ReadValue(&version, afterMagic);
  return *position < 0 ? 0 : version;
}
