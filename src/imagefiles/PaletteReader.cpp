// Reading one palette file into the colour groups: resolve, read, decode, then place the colours.
//
// Every palette file takes the next run of the one shared colour table. Files after the first
// give up their colour 0, since index 0 is the common transparent colour and background. The
// table has 256 indices: colours past it are dropped, and ColourCount never passes 256, so
// whoever reads the first ColourCount colours of a group stays inside it.
#include <algorithm>
#include <array>
#include <cstring>

#include "document/CTavroDoc.h"
#include "imagefiles/PaletteDecoder.h"
#include "platform/FileDoor.h"
#include "platform/FileLookup.h"

namespace tavro {

void CTavroDoc::StoreGroupColour(int32_t group, int32_t index, uint8_t red, uint8_t green,
                                 uint8_t blue) {
  if (group < 0 || group >= kGroupCount || index < 0 || index >= kPaletteColours) return;
  uint8_t* stored = PaletteGroups[group][index];
  stored[kGroupBlue] = blue;
  stored[kGroupRed] = red;
  stored[kGroupGreen] = green;
}

PaletteEntry CTavroDoc::GroupColour(int32_t group, int32_t index) const {
  if (group < 0 || group >= kGroupCount || index < 0 || index >= kPaletteColours) return {};
  const uint8_t* stored = PaletteGroups[group][index];
  return {stored[kGroupRed], stored[kGroupGreen], stored[kGroupBlue], 0};
}

int32_t CTavroDoc::LoadPaletteFile(const char* name, int32_t number) {
  const std::string written = name != nullptr ? name : "";
  const auto path = ResolveSetFile(SetDirectory, written);
  ReadOnlyFile file;
  if (!path || !file.Open(*path)) {
    host().ShowMessage("palette file (" + written + ") is not found", "", MessageIcon::Exclamation);
    return 1;
  }
  // The decoder reads no further than this, so neither does the reader, however long the file.
  std::array<uint8_t, kPaletteFileBytesRead> bytes;
  const auto decoded = DecodePalette({bytes.data(), file.ReadAt(0, bytes.data(), bytes.size())});
  if (!decoded) return 2;
  if (number < 0 || number >= static_cast<int32_t>(PaletteBase.size())) return 2;

  const PaletteHeader& header = decoded->Header;
  const int32_t base = ColourCount;
  const int32_t skip = number != 0 ? 1 : 0;
  for (int32_t g = 0; g < header.Groups; ++g) {
    for (int32_t i = skip; i < header.ColoursPerGroup; ++i) {
      const PaletteColour& c = decoded->At(g, i);
      StoreGroupColour(g, base + i - skip, c.Red, c.Green, c.Blue);
    }
  }

  // A later file that declares no colours would "add" -1 and hand its neighbour's last colour
  // to the next file; it adds nothing instead.
  const int32_t added = std::max(0, header.ColoursPerGroup - skip);
  PaletteBase[number] = static_cast<uint8_t>(base - skip);
  ColourCount = std::min(kPaletteColours, base + added);
  PaletteFileCount = number + 1;
  GroupCount = std::max<int32_t>(GroupCount, header.Groups);

  // Groups the file lacks show its first group, so switching groups never blanks its colours.
  for (int32_t g = header.Groups; g < kGroupCount; ++g) {
    for (int32_t i = base; i < ColourCount; ++i) {
      std::memcpy(PaletteGroups[g][i], PaletteGroups[0][i], 3);
    }
  }
  return 0;
}

}  // namespace tavro
