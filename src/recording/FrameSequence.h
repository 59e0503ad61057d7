// Turns the pictures a recording shows over time into frames.
//
// Every distinct picture becomes one frame lasting until the next. A picture that shows for less
// than kShortestFrameMs gives way to the one after it, which takes over its time; when that one
// looks like the frame still open, the open frame simply lasts longer, so no two frames in a row
// look the same. Pictures compare by the colours they show: in 256-colour mode new indices can
// show old colours, and a new colour group can leave most pixels as they looked.
//
// It holds two pictures, the one showing and the one the last frame shows; that frame's encoding
// waits in the writer until the next frame's start ends it.
#pragma once

#include <cstdint>
#include <string>

#include "document/CTavroDoc.h"
#include "platform/MapRect.h"
#include "recording/FrameWriter.h"
#include "recording/Picture.h"

namespace tavro {

class FrameSequence {
 public:
  explicit FrameSequence(FrameWriter& writer) : writer_(writer) {}

  // Takes the picture at the recording's start; false when there is no composed map.
  bool Start(const CTavroDoc& doc);
  const Picture& Shown() const { return shown_; }
  // The map may have changed within `area` (playfield pixels) at `nowMs`. False when the
  // recording ends here: at the frame limit, or when a frame cannot be written (`error`).
  bool Observe(const CTavroDoc& doc, const MapRect& area, uint32_t nowMs, std::string& error);
  // Ends the recording at `endMs`, or earlier where the frame limit stopped it, and completes
  // the file.
  bool Finish(uint32_t endMs, std::string& error);

  int32_t Frames() const { return frames_; }
  uint32_t EndMs() const { return endMs_; }

 private:
  bool Emit(std::string& error);

  FrameWriter& writer_;
  Picture shown_;
  Picture written_;  // what the last frame shows
  // Outside it shown_ holds written_'s pixels and colours.
  MapRect touched_;
  // shown_ is a picture no frame shows yet, showing since newSinceMs_.
  bool isNew_ = true;
  uint32_t newSinceMs_ = 0;
  int32_t frames_ = 0;
  uint32_t endMs_ = 0;
};

}  // namespace tavro
