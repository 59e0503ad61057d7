// Plays a loaded set on a virtual clock and writes what it shows as an animation.
//
// The recorder runs the window's own timer passes, mouse presses and drops and keys on the
// document, but the clock jumps straight to the next due alarm or input, so a minute of
// animation takes only as long as its drawing. Each distinct picture becomes one frame lasting
// until the next; pictures that show for less than kShortestFrameMs give way to the one after
// them, as a screen would never show them and players stretch such frames to a tenth of a
// second. Memory stays at two pictures plus one frame's encoding, however long the recording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/DocumentSession.h"
#include "recording/RecordingHost.h"

namespace tavro {

inline constexpr uint32_t kMaxRecordingMs = 10 * 60 * 1000;
inline constexpr int32_t kMaxRecordingFrames = 10000;
inline constexpr uint32_t kShortestFrameMs = 20;
inline constexpr int32_t kMaxRecordingZoom = kMaxChosenZoom;

// Something the person at the window would do at `AtMs` from the recording's start.
struct RecordingInput {
  enum class Kind { Press, Drop, Key };
  uint32_t AtMs = 0;
  Kind What = Kind::Drop;
  int32_t Value = 0;  // Press: object number; Key: the key's character
};

struct RecordingRequest {
  std::string Path;  // .gif or .webp
  uint32_t LengthMs = 0;
  int32_t Zoom = 1;
  std::vector<RecordingInput> Inputs;  // in time order
};

struct RecordingResult {
  bool Written = false;
  int32_t Frames = 0;
  uint32_t RecordedMs = 0;         // less than asked when the frame limit stopped the recording
  std::string Error;               // when nothing was written
  std::vector<std::string> Notes;  // written, but not quite as asked
};

// Records the session's document, whose host and notices must be `clock`, from the clock's
// present tick on. The document is left as the recording's end shows it.
RecordingResult RecordAnimation(DocumentSession& session, RecordingHost& clock,
                                const RecordingRequest& request);

// File > Record in the window and the page: records the set from its present state on a virtual
// clock lent to the session for the length of the recording (the scripts' boxes and sounds are
// left out of it), then lets the set play on from where the recording left it, its alarms as far
// from due as they were at the recording's end. The front end repaints the whole view after.
RecordingResult RecordFromPresent(DocumentSession& session, const RecordingRequest& request);

}  // namespace tavro
