#include "document/DocumentLoadTarget.h"

#include <algorithm>
#include <new>

namespace tavro {
namespace {

// Lines that start with '#', as far as a progress bar needs to know: the reader may drop some.
int32_t CountCelLines(const DollSet& set) {
  const std::vector<char>& text = set.ConfigText();
  const size_t length = std::min(text.size(), static_cast<size_t>(set.ConfigTextLength()));
  int32_t count = 0;
  for (size_t i = 0; i < length; ++i) {
    const bool lineStart = i == 0 || text[i - 1] == '\n' || text[i - 1] == '\r';
    if (lineStart && text[i] == '#') ++count;
  }
  return std::min(count, kMaxCells);
}

}  // namespace

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
  // An abandoned open decodes nothing more: the set is thrown away after its last line.
  if (progress_.Cancelled()) return kErrCelNotLoadable;
  return cels_.Begin(set_, cell, tally_.Problems);
}

void DocumentLoadTarget::TakeCels(bool all) {
  cels_.Take(set_, tally_.Problems, all, [this](const CelOutcome& outcome) {
    // The 32-bit mark switches the document to true colour even if the cel then fails.
    if (outcome.TrueColourMark) map_.SetTrueColourMode(true);
    if (outcome.Error == 0) ++tally_.LoadedCels;
    tally_.Errors |= outcome.Error;
    ReportCelDone();
  });
}

void DocumentLoadTarget::ReportCelDone() {
  // Cels begun before a cancel still finish, but the progress has stopped.
  if (progress_.Cancelled()) return;
  if (celLines_ < 0) celLines_ = CountCelLines(set_);
  progress_.CelsLoaded(++celsDone_, celLines_);
}

void DocumentLoadTarget::LoadPalette(const char* name, int32_t number) {
  if (LoadPaletteFile(set_, name, number, tally_.Problems) == 1) {
    tally_.Messages.push_back("palette file (" + std::string(name) + ") is not found");
  }
}

}  // namespace tavro
