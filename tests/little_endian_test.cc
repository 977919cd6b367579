// SPDX-License-Identifier: MIT
#include "disk/little_endian.h"

#include <gtest/gtest.h>

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
