#include "gui/view/VirtualKeys.h"

#include <QGuiApplication>

namespace tavro {
namespace {

// xkb key codes of the main keyboard's top row: keys 1 to 9, then 0.
constexpr quint32 kXkbKeycodeOne = 10;
constexpr quint32 kXkbKeycodeZero = 19;

}  // namespace

quint32 XkbKeycodeOf(const QKeyEvent& event) {
  static const bool kXkb = QGuiApplication::platformName() == QLatin1String("xcb") ||
                           QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
  return kXkb ? event.nativeScanCode() : 0;
}

int32_t VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 xkbKeycode) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (!keypad && xkbKeycode >= kXkbKeycodeOne && xkbKeycode <= kXkbKeycodeZero) {
    return '0' + static_cast<int32_t>((xkbKeycode - kXkbKeycodeOne + 1) % 10);
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    const int32_t digit = qtKey - Qt::Key_0;
    return keypad ? kVkNumpad0 + digit : '0' + digit;
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

bool ReachesKeyHandling(int qtKey, Qt::KeyboardModifiers modifiers) {
  return qtKey != Qt::Key_Alt && !modifiers.testFlag(Qt::AltModifier);
}

}  // namespace tavro
