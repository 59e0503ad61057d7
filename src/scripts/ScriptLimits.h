// How far script runs may nest and how much one event may do. The configuration language lets
// events raise each other without end; these bounds keep every script finite and the stack safe
// while leaving room far beyond what real sets do.
#pragma once

#include <cstdint>

namespace tavro {

// No event runs while this many runs are already open: the last guard against stack exhaustion.
inline constexpr int32_t kMaxDispatchDepth = 96;

// "changeset(" is refused while this many runs are open. Its "set(" event may switch again,
// so this bounds a chain of set changes.
inline constexpr int32_t kMaxSetSwitchDepth = 16;

// "changeset(" is refused after this many set changes since the outermost event began (or
// since the alarm began, for alarms). Without it a "set(" event with several switches in it
// would branch at every level and compose the playfield an exponential number of times.
inline constexpr int32_t kMaxSetSwitchesPerEvent = 64;

// A very late alarm fires again at once only inside runs nested more than 32 deep; each such
// firing nests one more run. Beyond this depth it waits for the next pass instead.
inline constexpr int32_t kAlarmRefireFromDepth = 32;
inline constexpr int32_t kMaxAlarmRefireDepth = 64;

// A timer pass inside an open "debug(" box fires alarms only while fewer runs than this are
// open; otherwise the alarms stay due until the boxes are closed.
inline constexpr int32_t kMaxTimerPassDepth = 48;

}  // namespace tavro
