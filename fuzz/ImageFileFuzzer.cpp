// Fuzzes the cel decoder and the palette reader on the same bytes: old and new cel headers
// (4-, 8- and 32-bit), old and new palette headers (12- and 24-bit). A cel that decodes is then
// drawn in both colour forms, since its header decides how far the composer reaches into it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzFiles.h"
#include "QuietHost.h"
#include "document/CTavroDoc.h"
#include "imagefiles/CelFormat.h"

namespace tavro::fuzz {
namespace {

constexpr char kFileName[] = "fuzzed.cel";

// A document holding one cel line for object 0, as a configuration "#0 fuzzed.cel" makes it.
void PrepareOneCel(CTavroDoc& doc) {
  doc.ResetSet();
  doc.SetDirectory = ScratchDirectory();
  doc.CellTable.assign(1, CellEntry{});
  doc.ObjectTable.assign(1, ObjectEntry{});
  doc.EnsureSlot(0);
  CellEntry& cell = doc.CellTable[0];
  std::strncpy(cell.FileName, kFileName, kTokenLength);
  cell.SetMask = 0x3FF;
  doc.CellCount = 1;
  doc.ObjectCount = 1;
}

void DrawCel(CTavroDoc& doc) {
  for (int32_t trueColour = 0; trueColour <= 1; ++trueColour) {
    doc.MapStride = (doc.PlayfieldWidth + 3) & ~3;
    doc.MapHeight = doc.PlayfieldHeight;
    doc.TrueColourMode = trueColour;
    doc.AllocateMap(trueColour);
    doc.CurrentSet = 255;
    doc.ApplySet(0);
    doc.ComposeRect(0, 0, doc.PlayfieldWidth, doc.PlayfieldHeight);
  }
}

// A cel that loads has exactly the pixels its size calls for and lies within the playfield.
void CheckLoadedCel(const CTavroDoc& doc, const CellEntry& cell) {
  if (cell.Pixels.size() != CelDecodedBytes(cell.Width, cell.Height, cell.BitsPerPixel)) {
    Fail("a cel's pixels do not match its size");
  }
  if (cell.OffsetX + cell.Width > doc.PlayfieldWidth ||
      cell.OffsetY + cell.Height > doc.PlayfieldHeight) {
    Fail("a cel that loaded reaches past the playfield");
  }
}

// As the second palette file of a set, after a first that left `earlier` colours: the reader
// answers 0 or 2, keeps the table within 256 colours and never changes the first file's colours.
void ReadAsSecondPalette(CTavroDoc& doc, int32_t earlier) {
  doc.ResetSet();
  doc.SetDirectory = ScratchDirectory();
  doc.ColourCount = earlier;
  doc.StoreGroupColour(3, 0, 1, 2, 3);
  const int32_t result = doc.LoadPaletteFile(kFileName, 1);
  const PaletteEntry first = doc.GroupColour(3, 0);
  if (result != 0 && result != 2) Fail("a palette that exists was reported missing");
  if (doc.ColourCount > kPaletteColours) Fail("more than 256 colours");
  if (first.Red != 1 || first.Green != 2 || first.Blue != 3) Fail("an earlier colour changed");
}

void ReadAsPalettes(CTavroDoc& doc, int32_t earlier) {
  ReadAsSecondPalette(doc, earlier);
  doc.ResetSet();
  doc.SetDirectory = ScratchDirectory();
  // File 0 gives colours from 0 on; a later file skips its colour 0 and follows the first.
  doc.LoadPaletteFile(kFileName, 0);
  doc.LoadPaletteFile(kFileName, 1);
  doc.LoadPaletteFile(kFileName, 255);
  for (int32_t group = 0; group < kGroupCount; ++group) doc.BuildPalette(group);
}

}  // namespace
}  // namespace tavro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  using namespace tavro::fuzz;
  if (!WriteWholeFile(ScratchDirectory() + kFileName, data, size)) Fail("cannot write the file");
  QuietHost host;
  CTavroDoc doc(host);
  PrepareOneCel(doc);
  // The first byte doubles as the palette base, so that indexed pixels wrap around 256.
  doc.PaletteBase[0] = size > 0 ? data[0] : 0;
  const int32_t error = doc.LoadCel(doc.CellTable[0]);
  const CellEntry& cell = doc.CellTable[0];
  if (error != 0 && !cell.Pixels.empty()) Fail("a failed cel kept pixels");
  if (error == 0 && cell.Pixels.empty()) Fail("a cel reported as loaded has no pixels");
  if (error == 0) {
    CheckLoadedCel(doc, cell);
    DrawCel(doc);
  }
  ReadAsPalettes(doc, 1 + (size > 0 ? data[0] % 255 : 0));
  return 0;
}
