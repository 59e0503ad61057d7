// Help > Information and the right-button inspection of an object.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "document/CTavroDoc.h"
#include "document/SetQueries.h"
#include "set/ConfigReader.h"
#include "set/ConfigTokens.h"

namespace tavro {
namespace {

// Room of the inspection box's text, without its terminating zero.
constexpr size_t kInspectionTextLimit = 1023;

std::string Format(const char* format, int32_t a, int32_t b = 0) {
  char line[256];
  std::snprintf(line, sizeof line, format, a, b);
  return line;
}

}  // namespace

std::string CTavroDoc::InformationText() const {
  // The map line counts one byte a pixel, also in true-colour mode.
  const int64_t mapBytes = static_cast<int64_t>(Composed_.Stride()) * Composed_.Height() + 1;
  int64_t celBytes = 0;
  int32_t usedCells = 0;
  const int32_t count =
      std::min<int32_t>(TheSet_.CellCount(), static_cast<int32_t>(TheSet_.CellTable().size()));
  for (int32_t i = 0; i < count; ++i) {
    // A loaded cel's block is allocated one byte longer than its pixels; the count is of blocks.
    const size_t pixels = TheSet_.CellTable()[i].Pixels.size();
    if (pixels != 0) celBytes += static_cast<int64_t>(pixels) + 1;
    if (TheSet_.CellTable()[i].SetMask != 0) ++usedCells;
  }
  int32_t usedObjects = 0;
  TheSet_.ForEachObject([&](int32_t, uint16_t slot) {
    if (slot < TheSet_.ObjectTable().size() &&
        (TheSet_.ObjectTable()[slot].Flags & kHasExtent) != 0)
      ++usedObjects;
  });
  std::string text;
  text += Format("map size : %d x %d\n", TheSet_.PlayfieldWidth(), TheSet_.PlayfieldHeight());
  text += Format("used memory (MAP) : %d Kbytes\n", static_cast<int32_t>(mapBytes / 1024));
  text += Format("used memory (CEL) : %d Kbytes\n", static_cast<int32_t>(celBytes / 1024));
  text += Format("used cells : %d\n", usedCells);
  text += Format("used objects : %d\n", usedObjects);
  text += Format("used palette : %d files %d colors\n", TheSet_.Palettes().PaletteFileCount,
                 TheSet_.Palettes().ColourCount);
  return text;
}

void DescribeObjectCells(const DollSet& set, int32_t n, std::string& text) {
  if (set.ConfigText().empty()) return;
  ConfigReader reader(set);
  int32_t ordinal = 0;
  bool full = false;
  while (!full && reader.NextLine()) {
    const char* line = reader.Line();
    if (line[0] != '#') continue;
    const char* cursor = line + 1;
    if (ParseNumber(cursor) == n) {
      std::string entry = Format("%d : ", ordinal);
      const char* comment = std::strchr(cursor, ';');
      entry += comment != nullptr ? std::string(comment + 1) : std::string("\n");
      // A line cut at 255 bytes has no line feed of its own; keep the next entry on its own line.
      if (entry.back() != '\n') entry += '\n';
      // Whole lines only: once one does not fit, the text ends there.
      if (text.size() + entry.size() > kInspectionTextLimit) {
        full = true;
      } else {
        text += entry;
      }
    }
    ++ordinal;
  }
}

bool CTavroDoc::InspectAtPointer(std::string& caption, std::string& text) {
  const int32_t picked = PickObject(PickPurpose::Inspect);
  if (picked == 0) return false;
  caption = Format("Object No.%d", picked - 1);
  text.clear();
  DescribeObjectCells(TheSet_, picked - 1, text);
  return true;
}

}  // namespace tavro
