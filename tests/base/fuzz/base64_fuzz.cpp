// Base64 decoding of arbitrary text into a bounded buffer, and the
// encode/decode round trip of arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > 1 << 16) return 0;
  const int n = static_cast<int>(size);

  // Decode the input as text into a buffer sized by its first byte, with
  // guard bytes behind it that must stay untouched.
  const int destSize = size ? data[0] % 64 : 0;
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  std::vector<unsigned char> dest(static_cast<size_t>(destSize) + 16, 0xA5);
  const int written = BASE_Base64Decode(text.data(), dest.data(), destSize);
  if (written < 0 || written > destSize) std::abort();
  for (size_t i = static_cast<size_t>(written); i < dest.size(); ++i) {
    if (dest[i] != 0xA5) std::abort();
  }
  // The same with an explicit length and no terminator.
  std::vector<unsigned char> dest2(static_cast<size_t>(destSize) + 1);
  if (BASE_Base64Decode(reinterpret_cast<const char*>(data), dest2.data(), destSize, n) > destSize)
    std::abort();

  // Encoding then decoding gives the bytes back.
  const int chars = BASE_Base64EncodedLength(n);
  std::vector<char> encoded(static_cast<size_t>(chars) + 1);
  if (BASE_Base64Encode(data, n, encoded.data(), chars + 1) != chars) std::abort();
  if (static_cast<int>(std::strlen(encoded.data())) != chars) std::abort();
  if (BASE_Base64Encode(data, n, encoded.data(), chars) != -1) std::abort();
  BASE_Base64Encode(data, n, encoded.data(), chars + 1);
  std::vector<unsigned char> back(size + 1, 0);
  if (BASE_Base64Decode(encoded.data(), back.data(), n + 1) != n) std::abort();
  if (size && std::memcmp(back.data(), data, size) != 0) std::abort();
  return 0;
}
