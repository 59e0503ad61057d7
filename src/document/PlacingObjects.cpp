// Putting an object where a scene link says it stood: no pick, no drop, no event, as if the
// person had dragged it there before the link was made.
#include <algorithm>

#include "document/CTavroDoc.h"
#include "document/SetQueries.h"

namespace tavro {

bool CTavroDoc::PlaceShownObject(int32_t number, int32_t x, int32_t y) {
  if (!SetLoaded_ || Pointing_.HeldSlot() != 0) return false;
  const uint16_t slot = TheSet_.SlotOf(number);
  if (slot == 0 || slot >= TheSet_.ObjectTable().size()) return false;
  const ObjectEntry& object = TheSet_.ObjectTable()[slot];
  if ((object.Flags & kInCurrentSet) == 0) return false;
  const int32_t oldLeft = object.X + object.ExtentLeft;
  const int32_t oldTop = object.Y + object.ExtentTop;
  const auto [newX, newY] = KeepOnPlayfield(TheSet_, object, x, y);
  TheSet_.PlaceObject(slot, newX, newY);
  // One rectangle over the old and the new place, on the playfield.
  const int32_t width = object.ExtentRight - object.ExtentLeft;
  const int32_t height = object.ExtentBottom - object.ExtentTop;
  const int32_t left = std::max(0, std::min(oldLeft, object.X + object.ExtentLeft));
  const int32_t top = std::max(0, std::min(oldTop, object.Y + object.ExtentTop));
  const int32_t right =
      std::min(TheSet_.PlayfieldWidth(), std::max(oldLeft, object.X + object.ExtentLeft) + width);
  const int32_t bottom =
      std::min(TheSet_.PlayfieldHeight(), std::max(oldTop, object.Y + object.ExtentTop) + height);
  if (right > left && bottom > top) {
    ComposeRect(left, top, right - left, bottom - top);
    Notices().RepaintMapRect({left, top, right, bottom});
  }
  return true;
}

}  // namespace tavro
