#include "shell/CoreAdapters.h"

#include "document/DocumentFile.h"

namespace tavro::adapters {

bool OpenDocument(CTavroDoc& doc, const std::string& absolutePath, std::string& failure) {
  // The document's own open operation (archives included) puts the defaults in place first;
  // until it is here, the plain configuration path does the same.
  doc.ResetSet();
  return OpenDocumentFile(doc, absolutePath, failure);
}

bool NewDocument(CTavroDoc& doc) { return doc.OnNewDocument(); }

void ColourMode256(CTavroDoc& doc) {
  if (doc.SetLoaded == 0) return;
  doc.TrueColourMode = 0;
  doc.AllocateMap(0);
  doc.SwitchSet(doc.CurrentSet);
}

void ColourModeTrue(CTavroDoc& doc) {
  if (doc.SetLoaded == 0) return;
  doc.TrueColourMode = 1;
  doc.AllocateMap(1);
  doc.SwitchSet(doc.CurrentSet);
}

void TransparentHalf(CTavroDoc& doc) {
  // Without a loaded set the map's size does not match the playfield: nothing to compose.
  if (doc.SetLoaded == 0) return;
  for (int i = 0; i < doc.CellCount && i < static_cast<int>(doc.CellTable.size()); ++i) {
    doc.CellTable[i].Transparency = 128;
  }
  ColourModeTrue(doc);
}

void SelectColourGroup(CTavroDoc& doc, int group) { doc.BuildPalette(group); }

}  // namespace tavro::adapters
