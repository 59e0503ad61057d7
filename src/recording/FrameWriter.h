// An animation file written frame by frame as the recording goes, never held whole in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/MapRect.h"
#include "recording/Picture.h"

namespace tavro {

class FrameWriter {
 public:
  virtual ~FrameWriter() = default;
  // Starts the file at `path` for pictures of `width` x `height` playfield pixels, each drawn as
  // a `zoom` x `zoom` square; false with `error` set when it cannot.
  virtual bool Begin(const std::string& path, int32_t width, int32_t height, int32_t zoom,
                     std::string& error) = 0;
  // A frame showing `picture` from `startMs` (from the recording's start), which ends the frame
  // before it. `changed` (playfield pixels) holds every pixel whose colour differs from the frame
  // before; outside it the frame before still shows. The first frame's `changed` is the whole
  // picture.
  bool AddFrame(const Picture& picture, const MapRect& changed, uint32_t startMs,
                std::string& error);
  // Ends the last frame at `endMs`, completes the file and puts it in place; without it nothing
  // is left behind.
  bool Finish(uint32_t endMs, std::string& error);

 protected:
  // A frame's bytes as they go into the file; its duration is filled in by SetDuration.
  virtual bool EncodeFrame(const Picture& picture, const MapRect& changed,
                           std::vector<uint8_t>& frame, std::string& error) = 0;
  virtual void SetDuration(uint32_t startMs, uint32_t endMs, std::vector<uint8_t>& frame) = 0;
  virtual bool Append(const std::vector<uint8_t>& bytes, std::string& error) = 0;
  // Everything after the last frame.
  virtual bool Complete(std::string& error) = 0;

 private:
  bool PutHeld(uint32_t endMs, std::string& error);

  // A frame lasts until the next one starts, so its encoding waits here until then.
  std::vector<uint8_t> held_;
  uint32_t heldStartMs_ = 0;
  bool holding_ = false;
};

enum class AnimationFormat { None, Gif, Webp };
// By the file name's extension, in any letter case.
AnimationFormat AnimationFormatOf(const std::string& path);
std::unique_ptr<FrameWriter> MakeFrameWriter(AnimationFormat format);

// The writers behind it, each in its own file.
std::unique_ptr<FrameWriter> MakeGifFrameWriter();
std::unique_ptr<FrameWriter> MakeWebpFrameWriter();
// The system's text for an errno, for messages.
std::string ErrnoText(int error);

}  // namespace tavro
