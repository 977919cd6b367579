// SPDX-License-Identifier: MIT
#include "disk/little_endian.h"

#include <gtest/gtest.h>

#include <string>

#include "game/sha256.h"

// The examples of the standard (FIPS 180-2, appendix B) and the empty message.
TEST(Sha256, GivesTheStandardsDigests) {
  struct Case {
    std::string message;
    const char* digest;
  };
  const Case cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Case& c : cases) {
    Sha256 hash;
    // In uneven pieces, so that blocks are filled across calls.
    for (std::size_t at = 0; at < c.message.size(); at += 37) {
      const std::size_t piece = c.message.size() - at < 37 ? c.message.size() - at : 37;
      hash.add(reinterpret_cast<const uint8_t*>(c.message.data()) + at, piece);
    }
    uint8_t digest[kSha256Size];
    hash.finish(digest);
    char text[2 * kSha256Size + 1];
    sha256Hex(digest, text);
    EXPECT_EQ(std::string(text), c.digest) << c.message.size();
  }
}

TEST(LittleEndian, DecodesByteByByte) {
  struct Case {
    uint8_t bytes[4];
    uint16_t le16;
    uint32_t le32;
    int32_t signed32;
  };
  const Case cases[] = {
      {{0x01, 0x02, 0x03, 0x04}, 0x0201, 0x04030201u, 0x04030201},
      {{0x00, 0x00, 0x00, 0x80}, 0x0000, 0x80000000u, INT32_MIN},
      {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFF, 0xFFFFFFFFu, -1},
      {{0xFF, 0xFF, 0xFF, 0x7F}, 0xFFFF, 0x7FFFFFFFu, INT32_MAX},
      {{0x80, 0x00, 0x00, 0x00}, 0x0080, 0x00000080u, 0x80},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(loadLe16(c.bytes), c.le16);
    EXPECT_EQ(loadLe32(c.bytes), c.le32);
    EXPECT_EQ(loadLeSigned32(c.bytes), c.signed32);
  }
}
