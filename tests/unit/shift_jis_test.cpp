#include "textstore/shift_jis.h"

#include <gtest/gtest.h>

#include <string>

namespace notavo {
namespace {

using namespace std::string_literals;

// "日" is 0x93 0xFA; "ア" (full-width) is 0x83 0x41; 0x82 0xA0 is "あ".
TEST(ByteTypeAt, ClassifiesEachByteOfMixedText) {
  const std::string s =
      "a\x93\xFA"
      "b\x83\x41";
  const int expected[] = {btSingle, btLead, btTrail, btSingle, btLead, btTrail};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(ByteTypeAt(s, i + 1, false), expected[i]) << "pos " << i + 1;
}

TEST(ByteTypeAt, TrailByteWithLeadValueIsTrail) {
  // 0x81 0x81 is a character whose trail byte is also a lead value.
  const std::string s = "\x81\x81\x81\x81x";
  EXPECT_EQ(ByteTypeAt(s, 1, false), btLead);
  EXPECT_EQ(ByteTypeAt(s, 2, false), btTrail);
  EXPECT_EQ(ByteTypeAt(s, 3, false), btLead);
  EXPECT_EQ(ByteTypeAt(s, 4, false), btTrail);
  EXPECT_EQ(ByteTypeAt(s, 5, false), btSingle);
}

TEST(ByteTypeAt, SingleByteLetterAfterDoubleByteIsNotTrail) {
  // 'b' follows a complete pair: it must not be taken for the pair's trail.
  const std::string s =
      "\x82\xA0"
      "b";
  EXPECT_EQ(ByteTypeAt(s, 3, false), btSingle);
}

TEST(ByteTypeAt, OutOfRangeAndSingleByteSwitchGiveZero) {
  const std::string s = "\x93\xFA";
  EXPECT_EQ(ByteTypeAt(s, 0, false), btSingle);
  EXPECT_EQ(ByteTypeAt(s, -5, false), btSingle);
  EXPECT_EQ(ByteTypeAt(s, 3, false), btSingle);
  EXPECT_EQ(ByteTypeAt(s, 1, true), btSingle);
  EXPECT_EQ(ByteTypeAt(s, 2, true), btSingle);
  EXPECT_EQ(ByteTypeAt("", 1, false), btSingle);
}

TEST(ByteTypeAt, LoneLeadByteAtEndIsLead) { EXPECT_EQ(ByteTypeAt("ab\x93"s, 3, false), btLead); }

TEST(LeadByteTable, MatchesCodePage932Ranges) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), expected) << std::hex << b;
  }
}

// Reference: walk forward from the start, the obvious way.
int ForwardByteType(const std::string& s, int position) {
  int type = btSingle;
  for (int i = 0; i < position; ++i) {
    if (type == btLead) {
      type = btTrail;
    } else {
      type = IsLeadByte(static_cast<unsigned char>(s[static_cast<std::size_t>(i)])) ? btLead
                                                                                    : btSingle;
    }
  }
  return type;
}

TEST(ByteTypeAt, AgreesWithForwardWalkOnRandomBytes) {
  unsigned seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0xFF; };
  const unsigned char alphabet[] = {'a', ' ', 0x81, 0x9F, 0xE0, 0xFC, 0x40, 0xA0, 0xFD, 0x80};
  for (int round = 0; round < 300; ++round) {
    std::string s;
    const int len = static_cast<int>(next() % 40);
    for (int i = 0; i < len; ++i) s.push_back(static_cast<char>(alphabet[next() % 10]));
    for (int p = 1; p <= len; ++p) ASSERT_EQ(ByteTypeAt(s, p, false), ForwardByteType(s, p)) << p;
  }
}

}  // namespace
}  // namespace notavo
