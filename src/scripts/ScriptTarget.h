// What the script engine may do to the set it runs on, and what it may ask of it.
//
// The engine reaches the document only through this: it never sees the cel or object tables, the
// map or the Host. A target in scripts is a 16-bit number: an object number, kCellTargetBit plus
// a cell index, or ScriptTarget::kNoTarget; the implementation decides what each one names.
#pragma once

#include <cstdint>
#include <string>

namespace tavro {

class ScriptTarget {
 public:
  static constexpr uint16_t kNoTarget = 0xFFFF;
  enum class CelChange { Show, Hide, Toggle };

  virtual ~ScriptTarget() = default;

  // Cel actions. Each changes the cels the target names, if any, and adds the boxes of what it
  // changed to the dirty area; none of them composes or paints.
  virtual void ChangeCels(uint16_t target, CelChange change) = 0;
  // Adds `amount` to each named cel's transparency, held to 0..255.
  virtual void ShiftTransparency(uint16_t target, int16_t amount) = 0;
  // Moves the target's object (a cel target moves the cel's object), kept on the playfield.
  virtual void MoveObject(uint16_t target, int16_t dx, int16_t dy) = 0;

  // Scene actions: the whole playfield becomes dirty, then the set or colour group changes.
  // SwitchSet raises the set's "set(" event through the engine again.
  virtual void SwitchSet(int32_t set) = 0;
  virtual void SwitchGroup(int32_t group) = 0;
  // A sound named by a script, looked up beside the configuration; a missing one is silent.
  virtual void PlaySound(const std::string& name) = 0;
  // A "debug(" box. While it is open anything may run, timer passes included.
  virtual void ShowDebugText(const std::string& text) = 0;

  // Facts the parser and the dispatcher need.
  // Index of the first cell whose file name equals `name` ignoring letter case; -1 when none.
  virtual int32_t FindCellByName(const char* name) const = 0;
  // Does a cel line name object `number` (so far)?
  virtual bool HasObject(int32_t number) const = 0;
  // The cell under the pointer at the last hit test when it is shown now; -1 otherwise.
  virtual int32_t ShownCellUnderPointer() const = 0;
  virtual bool IsSetLoaded() const = 0;
  virtual bool IsDirty() const = 0;
  // Recomposes the dirty area and has it repainted; the step a timer pass ends with.
  virtual void FlushDirtyArea() = 0;

  // The millisecond tick and the wall clock in seconds.
  virtual uint32_t TickCount() = 0;
  virtual uint32_t ClockSeconds() = 0;
};

}  // namespace tavro
