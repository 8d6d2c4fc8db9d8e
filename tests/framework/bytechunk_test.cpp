#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "base/string.h"
#include "framework/ByteChunk.h"

namespace {

// A chunk holding a count field followed by the given payload bytes.
ByteChunk ChunkWithCount(int count, const char* payload = "", int payloadSize = 0)
{
  ByteChunk chunk;
  chunk.AppendValue(count);
  chunk.AppendBytes(payload, payloadSize);
  return chunk;
}

}  // namespace

TEST(ByteChunkValues, RoundTripInNativeOrderWithFixedWidths)
{
  ByteChunk chunk;
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(chunk.Data(), nullptr);
  EXPECT_EQ(chunk.AppendValue(true), 1);
  EXPECT_EQ(chunk.AppendValue(0x01020304), 5);
  EXPECT_EQ(chunk.AppendValue(-2.5), 13);

  const unsigned char* bytes = chunk.Data();
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 0x04);  // little-endian target
  EXPECT_EQ(bytes[4], 0x01);

  bool b = false;
  int i = 0;
  double d = 0.0;
  int pos = chunk.ReadValue(&b, 0);
  pos = chunk.ReadValue(&i, pos);
  pos = chunk.ReadValue(&d, pos);
  EXPECT_EQ(pos, 13);
  EXPECT_TRUE(b);
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(d, -2.5);
}

TEST(ByteChunkValues, FailedReadLeavesDestinationAndFailurePropagates)
{
  ByteChunk chunk;
  chunk.AppendValue(7);
  chunk.AppendBytes("xyz", 3);  // 7 bytes: an int and three stray bytes

  int i = 0;
  double d = 42.0;
  int pos = chunk.ReadValue(&i, 0);
  EXPECT_EQ(pos, 4);
  pos = chunk.ReadValue(&d, pos);  // only 3 bytes left
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(d, 42.0);

  // Once -1, every later read fails too, even one that would fit at 0.
  i = 99;
  EXPECT_EQ(chunk.ReadValue(&i, pos), -1);
  EXPECT_EQ(i, 99);
  BASE_String s("keep");
  EXPECT_EQ(chunk.ReadString(&s, pos), -1);
  EXPECT_STREQ(s.Get(), "keep");
}

TEST(ByteChunkValues, PositionsAtAndBeyondTheEdgesFail)
{
  ByteChunk chunk;
  chunk.AppendValue(1);
  chunk.AppendValue(2);
  int v = 0;
  EXPECT_EQ(chunk.ReadValue(&v, 4), 8);
  EXPECT_EQ(v, 2);
  for (int pos : {5, 8, 9, -2, INT_MIN, INT_MAX, INT_MAX - 2}) {
    v = 123;
    EXPECT_EQ(chunk.ReadValue(&v, pos), -1) << pos;
    EXPECT_EQ(v, 123);
  }
  EXPECT_EQ(chunk.ReadValue(static_cast<int*>(nullptr), 0), -1);

  ByteChunk empty;
  EXPECT_EQ(empty.ReadValue(&v, 0), -1);
}

TEST(ByteChunkStrings, RoundTripAndCountLayout)
{
  ByteChunk chunk;
  EXPECT_EQ(chunk.AppendString("abc"), 7);
  EXPECT_EQ(chunk.AppendString(""), 11);
  EXPECT_EQ(chunk.AppendString(nullptr), 15);

  int count = -1;
  chunk.ReadValue(&count, 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(std::memcmp(chunk.Data() + 4, "abc", 3), 0);

  BASE_String a, b("x"), c("y");
  int pos = chunk.ReadString(&a, 0);
  pos = chunk.ReadString(&b, pos);
  pos = chunk.ReadString(&c, pos);
  EXPECT_EQ(pos, 15);
  EXPECT_STREQ(a.Get(), "abc");
  EXPECT_STREQ(b.Get(), "");  // a count below 1 gives the empty string
  EXPECT_STREQ(c.Get(), "");
}

TEST(ByteChunkStrings, EmbeddedZeroCutsTheTextButNotThePosition)
{
  ByteChunk chunk = ChunkWithCount(5, "ab\0cd", 5);
  chunk.AppendValue(77);
  BASE_String s;
  const int pos = chunk.ReadString(&s, 0);
  EXPECT_EQ(pos, 9);
  EXPECT_STREQ(s.Get(), "ab");
  EXPECT_EQ(s.GetLength(), 2);
  int after = 0;
  EXPECT_EQ(chunk.ReadValue(&after, pos), 13);
  EXPECT_EQ(after, 77);

  ByteChunk leadingZero = ChunkWithCount(3, "\0zz", 3);
  s.Set("old");
  EXPECT_EQ(leadingZero.ReadString(&s, 0), 7);
  EXPECT_STREQ(s.Get(), "");
}

TEST(ByteChunkStrings, CountBeyondTheEndLeavesTheStringAndReturnsTheEnd)
{
  ByteChunk chunk = ChunkWithCount(10, "abc", 3);
  BASE_String s("keep");
  EXPECT_EQ(chunk.ReadString(&s, 0), 14);
  EXPECT_STREQ(s.Get(), "keep");
  // The returned end lies beyond the chunk, so the next read fails.
  int v = 0;
  EXPECT_EQ(chunk.ReadValue(&v, 14), -1);
}

TEST(ByteChunkStrings, HugeAndNegativeCountsNeverReadOutside)
{
  BASE_String s("keep");
  for (int count : {INT_MAX, INT_MAX - 3, INT_MAX - 4, INT_MAX - 8, -1, -4, -5, INT_MIN}) {
    ByteChunk chunk = ChunkWithCount(count, "abcdefgh", 8);
    const int end = chunk.ReadString(&s, 0);
    EXPECT_STREQ(s.Get(), "keep") << count;
    // Either a clean failure or an end beyond the chunk: never a position
    // that wrapped back inside it.
    EXPECT_TRUE(end == -1 || end > chunk.Size()) << count << " -> " << end;
  }
  // A position near the largest int with a count that would overflow.
  ByteChunk chunk = ChunkWithCount(INT_MAX);
  EXPECT_EQ(chunk.ReadString(&s, INT_MAX - 2), -1);
  EXPECT_EQ(chunk.ReadString(nullptr, 0), -1);
}

TEST(ByteChunkBuffer, AppendBytesChunksAndSelf)
{
  ByteChunk a;
  a.AppendBytes("1234", 4);
  EXPECT_EQ(a.AppendBytes(nullptr, 4), 4);
  EXPECT_EQ(a.AppendBytes("zz", -1), 4);
  EXPECT_EQ(a.AppendBytes("zz", 0), 4);

  ByteChunk b;
  b.AppendBytes("ab", 2);
  EXPECT_EQ(b.AppendChunk(&a), 6);
  EXPECT_EQ(b.AppendChunk(nullptr), 6);
  EXPECT_EQ(std::memcmp(b.Data(), "ab1234", 6), 0);

  // Appending a chunk to itself, also across a growth of its buffer.
  ByteChunk big;
  big.Resize(3000);
  big.Data()[0] = 9;
  big.Data()[2999] = 8;
  EXPECT_EQ(big.AppendChunk(&big), 6000);
  EXPECT_EQ(big.Data()[3000], 9);
  EXPECT_EQ(big.Data()[5999], 8);
  EXPECT_EQ(big.AppendBytes(big.Data() + 1, 5000), 11000);
  EXPECT_EQ(big.Data()[6000 + 2998], 8);
}

TEST(ByteChunkBuffer, ResizeZeroFillsGrowthAndClearEmpties)
{
  ByteChunk chunk;
  chunk.AppendBytes("\xff\xff", 2);
  EXPECT_EQ(chunk.Resize(10000), 10000);
  EXPECT_EQ(chunk.Data()[1], 0xff);
  for (int i = 2; i < 10000; ++i) ASSERT_EQ(chunk.Data()[i], 0) << i;

  EXPECT_EQ(chunk.Resize(1), 1);
  chunk.Resize(5);  // bytes regained after a shrink are zero as well
  EXPECT_EQ(chunk.Data()[0], 0xff);
  EXPECT_EQ(chunk.Data()[1], 0);
  EXPECT_EQ(chunk.Resize(-3), 0);
  EXPECT_EQ(chunk.Data(), nullptr);

  chunk.AppendValue(1.0);
  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(chunk.Data(), nullptr);
}

TEST(ByteChunkBuffer, CopiesAreIndependent)
{
  ByteChunk a;
  a.AppendString("preset");
  ByteChunk b(a);
  ByteChunk c;
  c.AppendValue(1);
  c = a;
  a.Data()[4] = 'P';
  ASSERT_EQ(b.Size(), 10);
  ASSERT_EQ(c.Size(), 10);
  EXPECT_EQ(b.Data()[4], 'p');
  EXPECT_EQ(c.Data()[4], 'p');
  const ByteChunk& self = c;
  c = self;
  EXPECT_EQ(c.Size(), 10);
}

TEST(FrameworkVersionHeader, WritesTheMagicAndVersion)
{
  ByteChunk chunk;
  chunk.AppendValue(5.0);
  InitChunkWithFrameworkVer(&chunk);
  ASSERT_EQ(chunk.Size(), 8);
  const unsigned char expected[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(std::memcmp(chunk.Data(), expected, 8), 0);

  chunk.AppendValue(1.5);
  int pos = 0;
  EXPECT_EQ(GetFrameworkVerFromChunk(&chunk, &pos), 0x10000);
  EXPECT_EQ(pos, 8);
  double d = 0;
  EXPECT_EQ(chunk.ReadValue(&d, pos), 16);
  EXPECT_EQ(d, 1.5);
}

TEST(FrameworkVersionHeader, MissingOrCutHeader)
{
  // No header: version 0 and the position stays, so the state is read from there.
  ByteChunk plain;
  plain.AppendValue(0.25);
  int pos = 0;
  EXPECT_EQ(GetFrameworkVerFromChunk(&plain, &pos), 0);
  EXPECT_EQ(pos, 0);

  ByteChunk tiny;
  tiny.AppendBytes("tf", 2);
  EXPECT_EQ(GetFrameworkVerFromChunk(&tiny, &pos), 0);
  EXPECT_EQ(pos, 0);

  // The magic without its version: the position fails.
  ByteChunk cut;
  cut.AppendValue(kFrameworkHeaderMagic);
  cut.AppendBytes("\0\0", 2);
  EXPECT_EQ(GetFrameworkVerFromChunk(&cut, &pos), 0);
  EXPECT_EQ(pos, -1);

  ByteChunk full;
  InitChunkWithFrameworkVer(&full);
  pos = -1;
  EXPECT_EQ(GetFrameworkVerFromChunk(&full, &pos), 0);
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(GetFrameworkVerFromChunk(&full, nullptr), 0);
  EXPECT_EQ(GetFrameworkVerFromChunk(nullptr, &pos), 0);
}
