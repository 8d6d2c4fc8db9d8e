#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/base64.h"

namespace {

std::string Encode(const std::string& bytes)
{
  std::vector<char> text(static_cast<size_t>(BASE_Base64EncodedLength(static_cast<int>(bytes.size()))) + 1);
  const int n = BASE_Base64Encode(bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                  static_cast<int>(text.size()));
  EXPECT_GE(n, 0);
  return std::string(text.data());
}

// Decodes into a buffer of destSize bytes pre-filled with '#'.
std::string Decode(const char* text, int destSize, int* written = nullptr)
{
  std::string dest(static_cast<size_t>(destSize), '#');
  const int n = BASE_Base64Decode(text, dest.data(), destSize);
  if (written) *written = n;
  return dest;
}

}  // namespace

TEST(Base64Encode, KnownVectorsWithPadding)
{
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Encode("f"), "Zg==");
  EXPECT_EQ(Encode("fo"), "Zm8=");
  EXPECT_EQ(Encode("foo"), "Zm9v");
  EXPECT_EQ(Encode("foob"), "Zm9vYg==");
  EXPECT_EQ(Encode("fooba"), "Zm9vYmE=");
  EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Encode(std::string("\xfb\xff\xbf", 3)), "+/+/");
  EXPECT_EQ(Encode(std::string(3, '\0')), "AAAA");
}

TEST(Base64Encode, BufferMustHoldTheWholeTextAndItsTerminator)
{
  EXPECT_EQ(BASE_Base64EncodedLength(0), 0);
  EXPECT_EQ(BASE_Base64EncodedLength(1533), 2044);
  EXPECT_EQ(BASE_Base64EncodedLength(1534), 2048);
  EXPECT_EQ(BASE_Base64EncodedLength(-1), -1);
  EXPECT_EQ(BASE_Base64EncodedLength(0x7fffffff), -1);

  // A preset dump's 2048-byte buffer takes states of up to 1533 bytes.
  std::vector<unsigned char> state(1534, 0x5a);
  char text[2048];
  EXPECT_EQ(BASE_Base64Encode(state.data(), 1533, text, sizeof(text)), 2044);
  EXPECT_EQ(std::strlen(text), 2044u);
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(BASE_Base64Encode(state.data(), 1534, text, sizeof(text)), -1);
  EXPECT_STREQ(text, "");

  char small[5];
  EXPECT_EQ(BASE_Base64Encode("abc", 3, small, 5), 4);
  EXPECT_EQ(BASE_Base64Encode("abc", 3, small, 4), -1);
  EXPECT_EQ(BASE_Base64Encode(nullptr, 3, small, 5), -1);
  EXPECT_EQ(BASE_Base64Encode("abc", -1, small, 5), -1);
  EXPECT_EQ(BASE_Base64Encode("abc", 3, nullptr, 5), -1);
}

TEST(Base64Decode, RoundTripsEveryLengthAndByte)
{
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>((i * 37 + 11) & 0xff));
  for (size_t len = 0; len <= bytes.size(); len += 7) {
    const std::string part = bytes.substr(0, len);
    const std::string text = Encode(part);
    int written = -1;
    const std::string back = Decode(text.c_str(), static_cast<int>(len), &written);
    EXPECT_EQ(written, static_cast<int>(len));
    EXPECT_EQ(back, part) << len;
  }
}

TEST(Base64Decode, StopsAtTheFirstCharacterOutsideTheAlphabet)
{
  int n = 0;
  // Four A characters give three zero bytes; the rest of the buffer is untouched.
  EXPECT_EQ(Decode("AAAA", 5, &n), std::string("\0\0\0##", 5));
  EXPECT_EQ(n, 3);
  // The pad ends decoding; so do a line break and any other character.
  EXPECT_EQ(Decode("Zg==Zm9v", 4, &n), std::string("f###"));
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Decode("Zm9v\nYmFy", 6, &n), std::string("foo###"));
  EXPECT_EQ(Decode("Zm 9v", 3, &n), std::string("f##"));
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Decode("=Zm9v", 3, &n), std::string("###"));
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Decode("", 2, &n), "##");
  EXPECT_EQ(n, 0);
  // A lone character carries six bits only: no byte.
  EXPECT_EQ(Decode("Z", 2, &n), "##");
  // Without the pad the bits pending still come out a byte at a time.
  EXPECT_EQ(Decode("Zm8", 4, &n), std::string("fo##"));
  EXPECT_EQ(n, 2);
}

TEST(Base64Decode, NeverWritesMoreThanTheGivenSize)
{
  char dest[8];
  std::memset(dest, '#', sizeof(dest));
  EXPECT_EQ(BASE_Base64Decode("Zm9vYmFy", dest, 4), 4);
  EXPECT_EQ(std::string(dest, 8), "foob####");
  EXPECT_EQ(BASE_Base64Decode("Zm9vYmFy", dest, 0), 0);
  EXPECT_EQ(BASE_Base64Decode("Zm9vYmFy", dest, -3), 0);
  EXPECT_EQ(BASE_Base64Decode(nullptr, dest, 8), 0);
  EXPECT_EQ(BASE_Base64Decode("Zm9v", nullptr, 8), 0);
  // An explicit text length bounds the characters looked at.
  std::memset(dest, '#', sizeof(dest));
  EXPECT_EQ(BASE_Base64Decode("Zm9vYmFy", dest, 8, 4), 3);
  EXPECT_EQ(std::string(dest, 4), "foo#");
}
