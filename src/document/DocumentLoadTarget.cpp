#include "document/DocumentLoadTarget.h"

#include <new>

namespace tavro {

DocumentLoadTarget::~DocumentLoadTarget() {
  try {
    TakeCels(true);
  } catch (const std::bad_alloc&) {
    tally_.Errors |= kErrNoMemory;
  }
}

// Cels decode in the background; their outcomes come here in line order, each once its cel
// has joined the table (so the one begun here is taken at the next cel line at the earliest).
int32_t DocumentLoadTarget::LoadCel(CellEntry& cell) {
  TakeCels(false);
  return cels_.Begin(set_, cell, tally_.Problems);
}

void DocumentLoadTarget::TakeCels(bool all) {
  cels_.Take(set_, tally_.Problems, all, [this](const CelOutcome& outcome) {
    // The 32-bit mark switches the document to true colour even if the cel then fails.
    if (outcome.TrueColourMark) map_.SetTrueColourMode(true);
    if (outcome.Error == 0) ++tally_.LoadedCels;
    tally_.Errors |= outcome.Error;
  });
}

void DocumentLoadTarget::LoadPalette(const char* name, int32_t number) {
  if (LoadPaletteFile(set_, name, number, tally_.Problems) == 1) {
    tally_.Messages.push_back("palette file (" + std::string(name) + ") is not found");
  }
}

}  // namespace tavro
