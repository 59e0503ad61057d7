// The generator behind "randomtimer(". Sets expect the sequence of the runtime they were made
// with: a linear congruential generator whose values are bits 16 to 30 of its state.
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::SeedScriptRandom(uint32_t seed) { ScriptRandomState = seed; }

int32_t CTavroDoc::NextScriptRandom() {
  ScriptRandomState = ScriptRandomState * 214013u + 2531011u;
  return static_cast<int32_t>((ScriptRandomState >> 16) & 0x7FFF);
}

}  // namespace tavro
