// The document as the script engine sees it: the actions' effects on the cel and object tables,
// the scene changes, and the facts the parser and the dispatcher ask for.
#pragma once

#include <cstdint>
#include <string>

#include "composition/ComposedMap.h"
#include "scripts/ScriptTarget.h"
#include "set/DollSet.h"

namespace tavro {

class CTavroDoc;

class DocumentScriptTarget final : public ScriptTarget {
 public:
  // The document and its set and map must outlive the target; the document owns one for its own
  // engine and lends it the parts the actions change.
  DocumentScriptTarget(CTavroDoc& doc, DollSet& set, ComposedMap& map)
      : Doc_(doc), Set_(set), Map_(map) {}

  void ChangeCels(uint16_t target, CelChange change) override;
  void ShiftTransparency(uint16_t target, int16_t amount) override;
  void MoveObject(uint16_t target, int16_t dx, int16_t dy) override;
  void SwitchSet(int32_t set) override;
  void SwitchGroup(int32_t group) override;
  void PlaySound(const std::string& name) override;
  void ShowDebugText(const std::string& text) override;
  int32_t FindCellByName(const char* name) const override;
  bool HasObject(int32_t number) const override;
  int32_t ShownCellUnderPointer() const override;
  bool IsSetLoaded() const override;
  bool IsDirty() const override;
  void FlushDirtyArea() override;
  uint32_t TickCount() override;
  uint32_t ClockSeconds() override;

 private:
  int32_t ObjectOfTarget(uint16_t target) const;
  void AddObjectToDirtyRect(int32_t objectNumber);

  CTavroDoc& Doc_;
  DollSet& Set_;
  ComposedMap& Map_;
};

}  // namespace tavro
