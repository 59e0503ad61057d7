#include "document/DocumentLoadTarget.h"

namespace tavro {

int32_t DocumentLoadTarget::LoadCel(CellEntry& cell) {
  bool trueColourMark = false;
  const int32_t error = cels_.Load(set_, cell, trueColourMark, tally_.Problems);
  // The 32-bit mark switches the document to true colour even if the cel then fails.
  if (trueColourMark) map_.SetTrueColourMode(true);
  if (error == 0) ++tally_.LoadedCels;
  return error;
}

void DocumentLoadTarget::LoadPalette(const char* name, int32_t number) {
  if (LoadPaletteFile(set_, name, number, tally_.Problems) == 1) {
    tally_.Messages.push_back("palette file (" + std::string(name) + ") is not found");
  }
}

}  // namespace tavro
