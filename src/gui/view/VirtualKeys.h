// Key presses as the virtual-key codes the keyboard rules are written in: a letter key is its
// capital letter (with or without Shift), main-keyboard digits 0x30 to 0x39, keypad digits 0x60
// to 0x69, the arrows 0x25 to 0x28, and Shift, Ctrl and Alt keys of their own.
#pragma once

#include <QKeyEvent>
#include <cstdint>

namespace tavro {

inline constexpr int32_t kVkShift = 0x10;
inline constexpr int32_t kVkControl = 0x11;
inline constexpr int32_t kVkMenu = 0x12;
inline constexpr int32_t kVkLeft = 0x25;
inline constexpr int32_t kVkUp = 0x26;
inline constexpr int32_t kVkRight = 0x27;
inline constexpr int32_t kVkDown = 0x28;
inline constexpr int32_t kVkNumpad0 = 0x60;
// Any key without a code of its own here: it still breaks the key sequence.
inline constexpr int32_t kVkOther = 0xFF;

// `xkbKeycode` is the key's position where the platform reports one (X11, Wayland), else 0.
// The main keyboard's digit keys are known by their position, so they give their digit also
// where the layout puts other characters on them unshifted (AZERTY) or Shift is held.
int32_t VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 xkbKeycode = 0);

// Key combinations with Alt belong to the menus and the window manager: they are no key press of
// the view, nor is the Alt key on its own. Ctrl combinations are, unless they are accelerators,
// which the frame takes first: Ctrl+2 picks set 2 and Ctrl+arrow scrolls.
bool ReachesKeyHandling(int qtKey, Qt::KeyboardModifiers modifiers);

// The key's position, where the platform's native scan code is an xkb key code; else 0.
quint32 XkbKeycodeOf(const QKeyEvent& event);

inline int32_t VirtualKeyCode(const QKeyEvent& event) {
  return VirtualKeyCode(event.key(), event.modifiers(), XkbKeycodeOf(event));
}

}  // namespace tavro
