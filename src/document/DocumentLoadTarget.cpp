#include "document/DocumentLoadTarget.h"

#include <algorithm>

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

int32_t DocumentLoadTarget::LoadCel(CellEntry& cell) {
  // An abandoned open decodes nothing more: the set is thrown away after its last line.
  if (progress_.Cancelled()) return kErrCelNotLoadable;
  bool trueColourMark = false;
  const int32_t error = cels_.Load(set_, cell, trueColourMark, tally_.Problems);
  // The 32-bit mark switches the document to true colour even if the cel then fails.
  if (trueColourMark) map_.SetTrueColourMode(true);
  if (error == 0) ++tally_.LoadedCels;
  ReportCelDone();
  return error;
}

void DocumentLoadTarget::ReportCelDone() {
  if (celLines_ < 0) celLines_ = CountCelLines(set_);
  progress_.CelsLoaded(++celsDone_, celLines_);
}

void DocumentLoadTarget::LoadPalette(const char* name, int32_t number) {
  if (LoadPaletteFile(set_, name, number, tally_.Problems) == 1) {
    tally_.Messages.push_back("palette file (" + std::string(name) + ") is not found");
  }
}

}  // namespace tavro
