// The composer's inner loops: one row of one cel drawn into one row of the map. Each comes twice:
// in compose:: as the vector code the composer calls, and in compose::scalar:: one pixel at a
// time, which is the rule the vector code must match bit for bit and what runs where the build
// has no vector code.
//
// True-colour rows are work-area words: blue, green, red and a spare byte. A blended pixel comes
// out with its spare byte 0; a pixel left alone or copied whole keeps its own.
#pragma once

#include <cstdint>
#include <functional>

namespace tavro::compose {

// Non-zero cel indices replace the map's; 0 leaves it alone.
void OverlayIndexRun(uint8_t* destination, const uint8_t* source, int32_t count);
// Non-zero cel indices become their colour word in `words` (256 entries); 0 leaves the map alone.
void OpaqueColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                     const uint32_t* words);
// As OpaqueColourRun, blended as (colour * (256 - level) + beneath * level) >> 8 a channel;
// `level` 0..255.
void LevelColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                    const uint32_t* words, uint32_t level);
// 32-bit cel pixels (blue, green, red, alpha) blended by their alpha: 0 leaves the map alone, 255
// copies the cel pixel whole, others blend as (cel * alpha + beneath * (255 - alpha)) >> 8.
void AlphaRun(uint32_t* destination, const uint8_t* source, int32_t count);
// 3-byte map pixels into work-area words with spare byte 0, and back.
void ExpandRun(uint32_t* destination, const uint8_t* source, int32_t count);
void PackRun(uint8_t* destination, const uint32_t* source, int32_t count);

// Calls `body` once for each instruction set the runs were built for that this processor has,
// with the runs using it, and leaves the best one chosen afterwards. Builds without vector code
// call it once, "scalar".
void ForEachRunTarget(const std::function<void(const char* name)>& body);

namespace scalar {
void OverlayIndexRun(uint8_t* destination, const uint8_t* source, int32_t count);
void OpaqueColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                     const uint32_t* words);
void LevelColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                    const uint32_t* words, uint32_t level);
void AlphaRun(uint32_t* destination, const uint8_t* source, int32_t count);
void ExpandRun(uint32_t* destination, const uint8_t* source, int32_t count);
void PackRun(uint8_t* destination, const uint32_t* source, int32_t count);
}  // namespace scalar

}  // namespace tavro::compose
