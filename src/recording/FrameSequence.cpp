#include "recording/FrameSequence.h"

#include "recording/Recorder.h"

namespace tavro {

bool FrameSequence::Start(const CTavroDoc& doc) {
  if (!CapturePicture(doc, shown_)) return false;
  isNew_ = true;
  newSinceMs_ = 0;
  frames_ = 0;
  return true;
}

bool FrameSequence::Observe(const CTavroDoc& doc, const MapRect& area, uint32_t nowMs,
                            std::string& error) {
  if (!PictureIsStale(doc, area, shown_)) return true;
  if (isNew_ && nowMs - newSinceMs_ >= kShortestFrameMs) {
    // It showed long enough to be seen: a frame of its own. The file may hold no more.
    if (frames_ == kMaxRecordingFrames) return false;
    if (!Emit(error)) return false;
  }
  if (!isNew_) {
    isNew_ = true;
    newSinceMs_ = nowMs;
  }
  // Otherwise the picture before was too short and this one takes over its time.
  RefreshPicture(doc, area, shown_);
  touched_ = UnionRect(touched_, IntersectRect(area, shown_.Whole()));
  if (frames_ > 0 && DifferingArea(written_, shown_, Unsettled()).IsEmpty()) {
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
  const MapRect changed =
      frames_ == 0 ? shown_.Whole() : DifferingArea(written_, shown_, Unsettled());
  if (!writer_.AddFrame(shown_, changed, newSinceMs_, error)) return false;
  written_ = shown_;
  touched_ = {};
  isNew_ = false;
  ++frames_;
  return true;
}

MapRect FrameSequence::Unsettled() const {
  // Other colours can change what an untouched index shows.
  if (shown_.BytesPerPixel == 1 && shown_.Table != written_.Table) return shown_.Whole();
  return touched_;
}

}  // namespace tavro
