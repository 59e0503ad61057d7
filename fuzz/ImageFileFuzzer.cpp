// Fuzzes the cel and palette decoders on the same bytes: old and new cel headers (4-, 8- and
// 32-bit), old and new palette headers (12- and 24-bit). A cel that decodes is then drawn in both
// colour forms, since its header decides how far the composer reaches into it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "FuzzFiles.h"
#include "composition/Composer.h"
#include "document/CTavroDoc.h"
#include "imagefiles/CelDecoder.h"
#include "imagefiles/PaletteDecoder.h"
#include "platform/Host.h"

namespace tavro::fuzz {
namespace {

// A document holding one decoded cel for object 0, as a configuration "#0 fuzzed.cel" and a
// load would leave it.
void AttachCel(CTavroDoc& doc, const CelDecodeOptions& options, const DecodedCel& decoded) {
  doc.OnNewDocument();
  DollSet& set = doc.EditSet();
  set.SetPlayfieldSize(options.PlayfieldWidth, options.PlayfieldHeight);
  set.MakeTables();
  set.EnsureSlot(0);
  CellEntry cell;
  cell.Pixels = decoded.Pixels;
  cell.Width = decoded.Header.Width;
  cell.Height = decoded.Header.Height;
  cell.OffsetX = decoded.Header.OffsetX;
  cell.OffsetY = decoded.Header.OffsetY;
  cell.BitsPerPixel = decoded.Header.BitsPerPixel;
  cell.SetMask = 0x3FF;
  set.AddCell(std::move(cell));
}

void DrawCel(CTavroDoc& doc) {
  for (const bool trueColour : {false, true}) {
    doc.EditMap().SetSize(doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight());
    doc.EditMap().SetTrueColourMode(trueColour);
    doc.EditMap().Allocate(trueColour);
    doc.EditSet().SetCurrent(255, doc.Set().CurrentGroup());
    doc.SwitchSet(0);
    compose::ComposeRect(doc.Set(), doc.EditMap(),
                         {0, 0, doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight()},
                         doc.Pointer().HeldSlot());
  }
}

// A cel that decodes has exactly the pixels its size calls for and lies within the playfield;
// one that fails has none. The loader reads only CelFileBytesRead bytes of a file, so those must
// decode to the very same cel.
void CheckCel(std::span<const uint8_t> bytes, const CelDecodeOptions& options,
              const DecodedCel& cel) {
  const CelHeader& header = cel.Header;
  if (cel.Error != 0 && !cel.Pixels.empty()) Fail("a failed cel kept pixels");
  const size_t read =
      CelFileBytesRead(bytes.first(std::min(bytes.size(), kCelNewHeaderSize)), options);
  const DecodedCel prefix = DecodeCel(bytes.first(std::min(bytes.size(), read)), options);
  if (prefix.Error != cel.Error || prefix.Pixels != cel.Pixels) {
    Fail("the bytes the loader reads decode differently from the whole file");
  }
  if (cel.Error != 0) return;
  if (cel.Pixels.size() != CelDecodedBytes(header.Width, header.Height, header.BitsPerPixel)) {
    Fail("a cel's pixels do not match its size");
  }
  if (header.OffsetX + header.Width > options.PlayfieldWidth ||
      header.OffsetY + header.Height > options.PlayfieldHeight) {
    Fail("a cel that decoded reaches past the playfield");
  }
}

void CheckPalette(std::span<const uint8_t> bytes) {
  const auto palette = DecodePalette(bytes);
  if (!palette) return;
  const PaletteHeader& header = palette->Header;
  if (header.Groups > kGroupCount || header.ColoursPerGroup > kPaletteColours) {
    Fail("a palette larger than the colour table decoded");
  }
  if (palette->Colours.size() != size_t{header.Groups} * header.ColoursPerGroup) {
    Fail("a palette's colours do not match its header");
  }
  if (bytes.size() > kPaletteFileBytesRead &&
      DecodePalette(bytes.first(kPaletteFileBytesRead))->Colours != palette->Colours) {
    Fail("a palette's colours reach past the bytes its reader reads");
  }
}

}  // namespace
}  // namespace tavro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  using namespace tavro::fuzz;
  const std::span<const uint8_t> bytes(data, size);
  // The first byte doubles as the palette base, so that indexed pixels wrap around 256, and
  // picks a playfield a cel may or may not fit.
  const uint8_t first = size > 0 ? data[0] : 0;
  CelDecodeOptions options;
  options.PaletteBase = first;
  if (first % 2 != 0) {
    options.PlayfieldWidth = 64 + first;
    options.PlayfieldHeight = 32 + first;
  }
  const DecodedCel cel = DecodeCel(bytes, options);
  CheckCel(bytes, options, cel);
  if (cel.Error == 0) {
    NullHost host;
    CTavroDoc doc(host);
    AttachCel(doc, options, cel);
    DrawCel(doc);
  }
  CheckPalette(bytes);
  return 0;
}
