#include "interaction/VirtualKeys.h"

namespace tavro {

int32_t VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    const int32_t digit = qtKey - Qt::Key_0;
    return modifiers.testFlag(Qt::KeypadModifier) ? kVkNumpad0 + digit : '0' + digit;
  }
  switch (qtKey) {
    case Qt::Key_Shift:
      return kVkShift;
    case Qt::Key_Control:
      return kVkControl;
    case Qt::Key_Alt:
      return kVkMenu;
    case Qt::Key_Left:
      return kVkLeft;
    case Qt::Key_Up:
      return kVkUp;
    case Qt::Key_Right:
      return kVkRight;
    case Qt::Key_Down:
      return kVkDown;
    default:
      return kVkOther;
  }
}

}  // namespace tavro
