// SPDX-License-Identifier: MIT
// Little-endian integers of the D88 format, assembled byte by byte so the
// reader does not depend on the host's byte order.
#ifndef D88CUT_DISK_LITTLE_ENDIAN_H_
#define D88CUT_DISK_LITTLE_ENDIAN_H_

#include <cstdint>

// Returns the 16-bit little-endian value at p[0..1].
// No bounds checking: REQUIRES that those bytes are readable.
inline uint16_t loadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8);
}

// Returns the 32-bit little-endian value at p[0..3].
// No bounds checking: REQUIRES that those bytes are readable.
inline uint32_t loadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Returns the two's-complement reading of v (0x80000000 -> INT32_MIN,
// 0xFFFFFFFF -> -1) without an implementation-defined conversion.
inline int32_t toSigned32(uint32_t v) {
  if (v <= uint32_t{INT32_MAX}) return static_cast<int32_t>(v);
  return static_cast<int32_t>(v - 0x80000000u) + INT32_MIN;
}

// The format's signed 32-bit fields (disk size, track offsets).
inline int32_t loadLeSigned32(const uint8_t* p) { return toSigned32(loadLe32(p)); }

#endif  // D88CUT_DISK_LITTLE_ENDIAN_H_
