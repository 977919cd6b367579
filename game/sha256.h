// SPDX-License-Identifier: MIT
// SHA-256 (FIPS 180-4), for the release fingerprint: a small implementation
// of the project's own, so that a plain D88 run still needs the C library
// alone. Proven against the standard's examples in the tests.
#ifndef D88CUT_GAME_SHA256_H_
#define D88CUT_GAME_SHA256_H_

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kSha256Size = 32;

class Sha256 {
 public:
  Sha256();
  // Adds bytes[0..length) to the message.
  void add(const uint8_t* bytes, std::size_t length);
  // The digest of the message added; the object is spent afterwards.
  void finish(uint8_t digest[kSha256Size]);

 private:
  void compress(const uint8_t block[64]);
  uint32_t state[8];
  uint8_t pending[64];
  std::size_t pendingLength = 0;
  uint64_t messageBits = 0;
};

// The digest in lower-case hex into text[0..65), NUL-terminated.
void sha256Hex(const uint8_t digest[kSha256Size], char text[2 * kSha256Size + 1]);

#endif  // D88CUT_GAME_SHA256_H_
