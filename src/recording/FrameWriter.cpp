#include "recording/FrameWriter.h"

#include <strings.h>

#include <cstring>

namespace tavro {

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
