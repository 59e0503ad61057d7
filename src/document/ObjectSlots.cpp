// Object numbers and their slots.
//
// A cel line may name any object number, even 4,000,000,000; the number is rejected only when its
// cel loads, after its slot has been handed out. Growing one array to that number would allocate
// gigabytes, so numbers below the valid limit live in ObjectSlots and the rare larger ones in a
// small ordered map. Both together hold at most one entry per cel line.
#include <limits>

#include "document/CTavroDoc.h"
#include "set/Saturate.h"

namespace tavro {

uint16_t CTavroDoc::SlotOf(int64_t number) const {
  if (number < 0) return 0;
  if (number < static_cast<int64_t>(ObjectSlots.size())) return ObjectSlots[number];
  if (number < kObjectNumberLimit) return 0;
  const auto it = LargeObjectSlots.find(static_cast<int32_t>(number));
  return it == LargeObjectSlots.end() ? 0 : it->second;
}

uint16_t CTavroDoc::EnsureSlot(int32_t number) {
  if (number < 0) return 0;
  uint16_t existing = SlotOf(number);
  if (existing != 0) return existing;
  if (NextObjectSlot > std::numeric_limits<uint16_t>::max()) return 0;
  const auto slot = static_cast<uint16_t>(NextObjectSlot++);
  if (number < kObjectNumberLimit) {
    if (ObjectSlots.size() <= static_cast<size_t>(number)) ObjectSlots.resize(number + 1, 0);
    ObjectSlots[number] = slot;
  } else {
    LargeObjectSlots[number] = slot;
  }
  if (ObjectTable.size() <= slot) ObjectTable.resize(slot + 1);
  // Held at 32767 rather than wrapped, so the loader's test for numbers of 1170 and more still
  // sees a large number (object 65,536 must not pass for object 0).
  ObjectTable[slot].Number = SaturateInt16(number);
  return slot;
}

}  // namespace tavro
