// Actions that reach beyond the cels: sounds, texts, set and colour-group changes.
#include "document/CTavroDoc.h"
#include "platform/FileLookup.h"
#include "scripts/ScriptLimits.h"

namespace tavro {

// Sound files lie beside the configuration; names are matched without regard to letter case, as
// sets were made on systems that ignore it. A file that is not there plays nothing.
void CTavroDoc::PlaySetSound(const std::string& name) {
  const auto path = ResolveSetFile(SetDirectory, name);
  if (path) host().PlaySound(*path);
}

void CTavroDoc::ShowDebugText(const std::string& text) {
  host().ShowMessage(text, "", MessageIcon::Exclamation);
}

// "set(" events may switch sets themselves, so a switch is refused once the chain of nested
// runs is deep, or once this event has switched sets many times already.
void CTavroDoc::ChangeSetFromScript(int32_t set) {
  if (DispatchDepth >= kMaxSetSwitchDepth) return;
  if (ScriptSetSwitches >= kMaxSetSwitchesPerEvent) return;
  ++ScriptSetSwitches;
  MarkPlayfieldDirty();
  SwitchSet(set);
}

// There are ten colour groups; another number would read past them, and is ignored.
void CTavroDoc::ChangeGroupFromScript(int32_t group) {
  if (group < 0 || group >= kGroupCount) return;
  MarkPlayfieldDirty();
  BuildPalette(group);
}

}  // namespace tavro
