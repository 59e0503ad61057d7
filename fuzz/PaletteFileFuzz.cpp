// Any bytes as the second palette file of a set: the reader must answer 0 or 2, keep the colour
// table within 256 colours and never change the first file's colours.
#include <cstring>

#include "FuzzFile.h"
#include "document/CTavroDoc.h"
#include "support/FakeHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavro;
  fuzz::WriteInput("f.kcf", data, size);
  test::FakeHost host;
  CTavroDoc doc(host);
  doc.SetDirectory = fuzz::FuzzDirectory();
  doc.ColourCount = 1 + (size > 0 ? data[0] % 255 : 0);  // where earlier files left off
  doc.StoreGroupColour(3, 0, 1, 2, 3);
  const int32_t result = doc.LoadPaletteFile("f.kcf", 1);
  const PaletteEntry first = doc.GroupColour(3, 0);
  if ((result != 0 && result != 2) || doc.ColourCount > kPaletteColours || first.Red != 1 ||
      first.Green != 2 || first.Blue != 3) {
    std::abort();
  }
  return 0;
}
