// Reading one palette file into the colour groups: resolve, read, decode, then place the colours.
//
// Every palette file takes the next run of the one shared colour table. Files after the first
// give up their colour 0, since index 0 is the common transparent colour and background. The
// table has 256 indices: colours past it are dropped, and ColourCount never passes 256, so
// whoever reads the first ColourCount colours of a group stays inside it.
#include <algorithm>
#include <array>
#include <cstring>

#include "imagefiles/ImageFileReport.h"
#include "imagefiles/PaletteDecoder.h"
#include "imagefiles/SetImageFiles.h"
#include "platform/FileDoor.h"
#include "platform/FileLookup.h"

namespace tavro {

int32_t LoadPaletteFile(DollSet& set, const char* name, int32_t number, LoadProblems& problems) {
  const std::string written = name != nullptr ? name : "";
  const auto found = FindSetFile(set.Path().SetDirectory, written);
  ReadOnlyFile file;
  if (!found || !file.Open(found->Path)) {
    problems.Add(ProblemKind::PaletteNotFound, DescribeMissingFile(written, FoundPath(found)));
    return 1;
  }
  if (!found->ConvertedName.empty()) {
    problems.Add(ProblemKind::ConvertedName, DescribeConvertedName(written, found->ConvertedName));
  }
  // The decoder reads no further than this, so neither does the reader, however long the file.
  std::array<uint8_t, kPaletteFileBytesRead> bytes;
  const size_t got = file.ReadAt(0, bytes.data(), bytes.size());
  const auto decoded = DecodePalette({bytes.data(), got});
  if (!decoded) {
    PaletteHeader header;
    ReadPaletteHeader(bytes.data(), got, header);
    problems.Add(ProblemKind::BadPalette,
                 QuotedName(written) + ": " + DescribePaletteHeaderFault(header));
    return 2;
  }
  if (number < 0 || number >= static_cast<int32_t>(set.Palettes().PaletteBase.size())) return 2;

  const PaletteHeader& header = decoded->Header;
  const int32_t base = set.Palettes().ColourCount;
  const int32_t skip = number != 0 ? 1 : 0;
  for (int32_t g = 0; g < header.Groups; ++g) {
    for (int32_t i = skip; i < header.ColoursPerGroup; ++i) {
      const PaletteColour& c = decoded->At(g, i);
      set.StoreGroupColour(g, base + i - skip, c.Red, c.Green, c.Blue);
    }
  }

  // A later file that declares no colours would "add" -1 and hand its neighbour's last colour
  // to the next file; it adds nothing instead.
  const int32_t added = std::max(0, header.ColoursPerGroup - skip);
  set.FinishPaletteFile(number, base, added, header.Groups);
  return 0;
}

}  // namespace tavro
