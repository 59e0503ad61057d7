// An animation file written frame by frame as the recording goes, never held whole in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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
  // One frame showing `picture` from `startMs` to `endMs` (from the recording's start).
  // `changed` (playfield pixels) holds every pixel that differs from the frame before; outside
  // it the frame before still shows. The first frame's `changed` is the whole picture.
  virtual bool AddFrame(const Picture& picture, const MapRect& changed, uint32_t startMs,
                        uint32_t endMs, std::string& error) = 0;
  // Completes the file and puts it in place; without it nothing is left behind.
  virtual bool Finish(std::string& error) = 0;
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
