// Placeholder until the composer lands.
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::AllocateMap(int32_t) {}
void CTavroDoc::ComposeRect(int32_t, int32_t, int32_t, int32_t) {}
void CTavroDoc::ApplySet(int32_t set) { CurrentSet = set; }
void CTavroDoc::SwitchSet(int32_t set) { ApplySet(set); }
void CTavroDoc::BuildPalette(int32_t group) { CurrentGroup = group; }
void CTavroDoc::FlushDirtyRect() {}

}  // namespace tavro
