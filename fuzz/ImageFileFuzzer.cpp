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

void ReadAsPalettes(CTavroDoc& doc) {
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
  const int32_t error = doc.LoadCel(doc.CellTable[0]);
  const CellEntry& cell = doc.CellTable[0];
  if (error != 0 && !cell.Pixels.empty()) Fail("a failed cel kept pixels");
  if (error == 0 && cell.Pixels.empty()) Fail("a cel reported as loaded has no pixels");
  if (error == 0) DrawCel(doc);
  ReadAsPalettes(doc);
  return 0;
}
