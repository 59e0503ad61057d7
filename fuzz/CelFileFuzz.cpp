// Any bytes as a cel file: LoadCel must answer with a result bit, and a cel it accepts must have
// exactly the pixels its size calls for and lie within the playfield.
#include <cstring>

#include "FuzzFile.h"
#include "document/CTavroDoc.h"
#include "imagefiles/CelFormat.h"
#include "support/FakeHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  fuzz::WriteInput("f.cel", data, size);
  test::FakeHost host;
  CTavroDoc doc(host);
  doc.SetDirectory = fuzz::FuzzDirectory();
  doc.PaletteBase[0] = size > 0 ? data[0] : 0;
  doc.EnsureSlot(0);
  CellEntry cell;
  std::strcpy(cell.FileName, "f.cel");
  cell.SetMask = 1;
  if (doc.LoadCel(cell) == 0) {
    const size_t expected = CelDecodedBytes(cell.Width, cell.Height, cell.BitsPerPixel);
    if (cell.Pixels.size() != expected || cell.OffsetX + cell.Width > doc.PlayfieldWidth ||
        cell.OffsetY + cell.Height > doc.PlayfieldHeight) {
      std::abort();
    }
  }
  return 0;
}
