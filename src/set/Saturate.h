// Narrowing that holds at the edge instead of wrapping.
//
// The configuration may write any number; the set's records keep 16-bit fields. A wrapped value
// would mean something else entirely (object 65,536 passing for object 0, a fix value of 40,000
// turning negative), so oversized numbers stick at the largest value the field can hold.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tavro {

inline int16_t SaturateInt16(int64_t value) {
  return static_cast<int16_t>(std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

inline int32_t SaturateInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace tavro
