// Reading the little-endian numbers of the file formats the program meets.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavro {

// The unsigned number in the `width` bytes (at most 4) at `bytes`, lowest byte first.
inline uint32_t ReadLittleEndian(const uint8_t* bytes, size_t width) {
  uint32_t value = 0;
  for (size_t i = width; i-- > 0;) value = (value << 8) | bytes[i];
  return value;
}

inline uint16_t Le16(const uint8_t* bytes) {
  return static_cast<uint16_t>(ReadLittleEndian(bytes, 2));
}

}  // namespace tavro
