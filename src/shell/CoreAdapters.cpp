#include "shell/CoreAdapters.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tavro::adapters {

namespace {

// What the new-document step leaves behind until the loader provides ResetSet.
void PutDefaults(CTavroDoc& doc) {
  doc.SetLoaded = 0;
  doc.CellCount = 0;
  doc.ObjectCount = 0;
  doc.GroupCount = 0;
  doc.CurrentGroup = 0;
  doc.CurrentSet = 255;
  doc.TrueColourMode = 0;
  doc.PlayfieldWidth = 448;
  doc.PlayfieldHeight = 320;
  doc.SetInUse = {};
  doc.SetGroup = {};
  doc.CompositeMap.clear();
}

}  // namespace

bool OpenDocument(CTavroDoc& doc, const std::string& absolutePath, std::string& failure) {
  std::ifstream file(absolutePath, std::ios::binary);
  if (!file) {
    failure = "Cannot open " + absolutePath + ".";
    return false;
  }
  PutDefaults(doc);
  doc.ConfigText.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  doc.ConfigTextLength = static_cast<int32_t>(doc.ConfigText.size());
  doc.ConfigText.push_back('\0');
  return true;
}

bool NewDocument(CTavroDoc& doc) {
  PutDefaults(doc);
  doc.ConfigText.clear();
  doc.ConfigTextLength = 0;
  return true;
}

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
