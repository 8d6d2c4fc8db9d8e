// Chains of ByteChunk reads at positions and with stored lengths taken from
// fuzzed bytes. The first bytes of the input are a program of reads, the
// rest the chunk's contents; no read may touch memory outside the chunk and
// every result must be -1 or a position the rules allow.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/string.h"
#include "framework/ByteChunk.h"

namespace {

void Check(bool ok)
{
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1 || size > 1 << 16) return 0;
  const size_t programSize = data[0] % 32 < size ? data[0] % 32 : size - 1;
  const uint8_t* program = data + 1;
  ByteChunk chunk;
  chunk.AppendBytes(data + 1 + programSize, static_cast<int>(size - 1 - programSize));
  // Checked copy: the chunk must own exactly the bytes it was given.
  Check(chunk.Size() == static_cast<int>(size - 1 - programSize));

  BASE_String str("start");
  int pos = 0;
  for (size_t i = 0; i < programSize; ++i) {
    const int before = pos;
    int next = -1;
    switch (program[i] % 8) {
      case 0: {
        bool b;
        next = chunk.ReadValue(&b, pos);
        Check(next == -1 || next == pos + 1);
        break;
      }
      case 1: {
        int v;
        next = chunk.ReadValue(&v, pos);
        Check(next == -1 || next == pos + 4);
        break;
      }
      case 2: {
        double d;
        next = chunk.ReadValue(&d, pos);
        Check(next == -1 || next == pos + 8);
        break;
      }
      case 3:
      case 4: {
        next = chunk.ReadString(&str, pos);
        Check(next == -1 || next >= pos + 4);
        Check(str.GetLength() <= (chunk.Size() > 5 ? chunk.Size() : 5));  // "start" or read text
        break;
      }
      case 5: {
        // Jump to another position: a small one (-2 ... 13) or one far
        // outside the chunk, near either end of the int range.
        if (program[i] & 0x80) next = static_cast<int>(static_cast<uint32_t>(program[i]) * 0x01010101u);
        else next = (program[i] >> 3) - 2;
        break;
      }
      case 6: {
        GetFrameworkVerFromChunk(&chunk, &pos);
        next = pos;
        Check(next == before || next == -1 || next == before + 8);
        break;
      }
      default:
        next = pos < 0 ? 0 : pos;  // restart a failed chain
        break;
    }
    // A failed position stays failed for every read.
    if (before < 0 && program[i] % 8 < 5) Check(next == -1);
    pos = next;
  }
  // The string reader must agree with a direct look at the bytes.
  BASE_String whole("untouched");
  const int end = chunk.ReadString(&whole, 0);
  int count = 0;
  if (chunk.Size() >= 4) std::memcpy(&count, chunk.Data(), 4);
  if (chunk.Size() < 4 || count < 0) {
    Check(end == -1 && std::strcmp(whole.Get(), "untouched") == 0);
  } else if (static_cast<long long>(count) + 4 > chunk.Size()) {
    Check(std::strcmp(whole.Get(), "untouched") == 0);
  } else {
    const char* chars = reinterpret_cast<const char*>(chunk.Data() + 4);
    const size_t kept = strnlen(chars, static_cast<size_t>(count));
    Check(end == count + 4 && whole.GetLength() == static_cast<int>(kept));
    Check(std::memcmp(whole.Get(), chars, kept) == 0);
  }
  return 0;
}
