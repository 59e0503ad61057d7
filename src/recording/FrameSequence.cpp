#include "recording/FrameSequence.h"

#include "recording/Recorder.h"

namespace tavro {

bool FrameSequence::Start(const CTavroDoc& doc) { return CapturePicture(doc, shown_); }

bool FrameSequence::Observe(const CTavroDoc& doc, const MapRect& area, uint32_t nowMs,
                            std::string& error) {
  if (!PictureIsStale(doc, area, shown_)) return true;
  if (isNew_ && nowMs - newSinceMs_ >= kShortestFrameMs) {
    // It showed long enough to be seen: a frame of its own. The file may hold no more.
    if (frames_ == kMaxRecordingFrames) return false;
    if (!Emit(error)) return false;
  }
  // A picture shown for less than that gives way to this one, which takes over its time.
  if (!isNew_) {
    isNew_ = true;
    newSinceMs_ = nowMs;
  }
  // New colours can change what any pixel shows.
  const bool newColours = shown_.BytesPerPixel == 1 && PlayfieldColourTable(doc) != shown_.Table;
  RefreshPicture(doc, area, shown_);
  touched_ = UnionRect(touched_, newColours ? shown_.Whole() : IntersectRect(area, shown_.Whole()));
  if (frames_ > 0 && DifferingArea(written_, shown_, touched_).IsEmpty()) {
    isNew_ = false;
    touched_ = {};
  }
  return true;
}

bool FrameSequence::Finish(uint32_t endMs, std::string& error) {
  endMs_ = endMs;
  if (isNew_ && newSinceMs_ < endMs) {
    if (frames_ == kMaxRecordingFrames) {
      endMs_ = newSinceMs_;
    } else if (!Emit(error)) {
      return false;
    }
  }
  return writer_.Finish(endMs_, error);
}

bool FrameSequence::Emit(std::string& error) {
  const MapRect changed = frames_ == 0 ? shown_.Whole() : DifferingArea(written_, shown_, touched_);
  if (!writer_.AddFrame(shown_, changed, newSinceMs_, error)) return false;
  written_ = shown_;
  touched_ = {};
  isNew_ = false;
  ++frames_;
  return true;
}

}  // namespace tavro
