// The events of a set: what the loader, picking, dragging and set switching raise, and what a
// script binds its actions to. Scripts store them as numbers, so the values are fixed.
#pragma once

#include <cstdint>

namespace tavro {

enum EventCode : int32_t {
  kEventInitialize = 1,
  kEventBegin = 2,
  kEventCatch = 3,
  kEventFixCatch = 4,
  kEventUnfix = 5,
  kEventDrop = 6,
  kEventAlarm = 7,
  kEventEnd = 8,
  kEventPress = 9,
  kEventRelease = 10,
  kEventSet = 11,
  kEventFixDrop = 12,
};

}  // namespace tavro
