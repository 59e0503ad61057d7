#include "recording/FrameWriter.h"

#include <strings.h>

#include <cstring>

namespace tavro {

bool FrameWriter::AddFrame(const Picture& picture, const MapRect& changed, uint32_t startMs,
                           std::string& error) {
  if (!PutHeld(startMs, error)) return false;
  held_.clear();
  if (!EncodeFrame(picture, changed, held_, error)) return false;
  heldStartMs_ = startMs;
  holding_ = true;
  return true;
}

bool FrameWriter::Finish(uint32_t endMs, std::string& error) {
  return PutHeld(endMs, error) && Complete(error);
}

bool FrameWriter::PutHeld(uint32_t endMs, std::string& error) {
  if (!holding_) return true;
  SetDuration(heldStartMs_, endMs, held_);
  holding_ = false;
  return Append(held_, error);
}

AnimationFormat AnimationFormatOf(const std::string& path) {
  const auto endsWith = [&path](const char* suffix) {
    const size_t n = std::strlen(suffix);
    return path.size() > n && strcasecmp(path.c_str() + path.size() - n, suffix) == 0;
  };
  if (endsWith(".gif")) return AnimationFormat::Gif;
  if (endsWith(".webp")) return AnimationFormat::Webp;
  return AnimationFormat::None;
}

std::unique_ptr<FrameWriter> MakeFrameWriter(AnimationFormat format) {
  switch (format) {
    case AnimationFormat::Gif:
      return MakeGifFrameWriter();
    case AnimationFormat::Webp:
      return MakeWebpFrameWriter();
    case AnimationFormat::None:
      break;
  }
  return nullptr;
}

std::string ErrnoText(int error) { return error == 0 ? "write error" : std::strerror(error); }

}  // namespace tavro
