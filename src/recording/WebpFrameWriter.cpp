// Animated lossless WebP, written as it goes: the container's chunks are put down one frame at a
// time, each frame's picture encoded by libwebp's lossless encoder, and only the RIFF size is
// filled in at the end. An animation encoder that assembles the whole file in memory would hold
// every frame of a ten-minute recording until the last one.
//
// Each frame covers the area that changed (its corner moved to even pixels, as the format wants)
// and replaces what lies under it without blending, so every pixel shows exactly the picture's
// colour.
#include <webp/encode.h>

#include <array>
#include <cstring>
#include <vector>

#include "platform/GrowingFile.h"
#include "recording/FrameWriter.h"

namespace tavro {
namespace {

constexpr int32_t kMaxWebpSide = 16384;

void Put24(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 3; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

class WebpFrameWriter : public FrameWriter {
 public:
  bool Begin(const std::string& path, int32_t width, int32_t height, int32_t zoom,
             std::string& error) override {
    if (int64_t{width} * zoom > kMaxWebpSide || int64_t{height} * zoom > kMaxWebpSide) {
      error = "the picture is too large for a WebP (at most 16,384 pixels a side)";
      return false;
    }
    Width_ = width * zoom;
    Height_ = height * zoom;
    Zoom_ = zoom;
    if (!File_.Create(path)) {
      error = "cannot create \"" + path + "\": " + ErrnoText(File_.Error());
      return false;
    }
    std::vector<uint8_t> head;
    PutTag(head, "RIFF");
    Put32(head, 0);  // filled in by Finish
    PutTag(head, "WEBP");
    PutTag(head, "VP8X");
    Put32(head, 10);
    head.push_back(0x02);  // an animation, without alpha
    head.insert(head.end(), 3, 0);
    Put24(head, static_cast<uint32_t>(Width_ - 1));
    Put24(head, static_cast<uint32_t>(Height_ - 1));
    PutTag(head, "ANIM");
    Put32(head, 6);
    Put32(head, 0xFF000000u);  // opaque black behind the first frame, which covers it all
    head.push_back(0);         // loop for ever
    head.push_back(0);
    return Write(head, error);
  }

  bool EncodeFrame(const Picture& picture, const MapRect& changed, std::vector<uint8_t>& chunk,
                   std::string& error) override {
    MapRect area = IntersectRect(changed, picture.Whole());
    if (area.IsEmpty()) area = {0, 0, 1, 1};  // nothing to draw, but the time must pass
    const MapRect zoomed{(area.Left * Zoom_) & ~1, (area.Top * Zoom_) & ~1, area.Right * Zoom_,
                         area.Bottom * Zoom_};
    std::vector<uint8_t> bitstream;
    if (!Encode(picture, zoomed, bitstream)) {
      error = "cannot encode a WebP frame";
      return false;
    }
    PutTag(chunk, "ANMF");
    Put32(chunk, static_cast<uint32_t>(16 + bitstream.size()));
    Put24(chunk, static_cast<uint32_t>(zoomed.Left / 2));
    Put24(chunk, static_cast<uint32_t>(zoomed.Top / 2));
    Put24(chunk, static_cast<uint32_t>(zoomed.Width() - 1));
    Put24(chunk, static_cast<uint32_t>(zoomed.Height() - 1));
    Put24(chunk, 0);        // the duration, put in by SetDuration
    chunk.push_back(0x02);  // do not blend, do not dispose
    chunk.insert(chunk.end(), bitstream.begin(), bitstream.end());
    return true;
  }

  // After the chunk's tag, size, corner and extent.
  void SetDuration(uint32_t startMs, uint32_t endMs, std::vector<uint8_t>& chunk) override {
    constexpr size_t kDurationAt = 20;
    const uint32_t duration = std::min<uint32_t>(endMs - startMs, 0xFFFFFF);
    if (chunk.size() < kDurationAt + 3) return;
    for (size_t i = 0; i < 3; ++i)
      chunk[kDurationAt + i] = static_cast<uint8_t>(duration >> (8 * i));
  }

  bool Append(const std::vector<uint8_t>& bytes, std::string& error) override {
    return Write(bytes, error);
  }

  bool Complete(std::string& error) override {
    std::vector<uint8_t> size;
    Put32(size, static_cast<uint32_t>(File_.Size() - 8));
    if (File_.Size() > 0xFFFFFFF0u) {
      error = "the recording is too large for a WebP file";
      return false;
    }
    if (!File_.WriteAt(4, size.data(), size.size()) || !File_.Commit()) {
      error = "cannot write the WebP: " + ErrnoText(File_.Error());
      return false;
    }
    return true;
  }

 private:
  bool Write(const std::vector<uint8_t>& bytes, std::string& error) {
    if (File_.Append(bytes.data(), bytes.size())) return true;
    error = "cannot write the WebP: " + ErrnoText(File_.Error());
    return false;
  }

  // The area's pixels as a lossless "VP8L" chunk, with its header and padding.
  bool Encode(const Picture& picture, const MapRect& zoomed, std::vector<uint8_t>& out) const {
    const int width = zoomed.Width();
    const int height = zoomed.Height();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
      uint8_t* line = rgb.data() + static_cast<size_t>(y) * width * 3;
      for (int x = 0; x < width; ++x) {
        const RgbColour c = picture.ColourAt((zoomed.Left + x) / Zoom_, (zoomed.Top + y) / Zoom_);
        std::memcpy(line + x * 3, c.data(), 3);
      }
    }
    WebPConfig config;
    WebPPicture pic;
    if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, 2) ||
        !WebPPictureInit(&pic)) {
      return false;
    }
    config.exact = 1;
    pic.use_argb = 1;
    pic.width = width;
    pic.height = height;
    WebPMemoryWriter memory;
    WebPMemoryWriterInit(&memory);
    pic.writer = WebPMemoryWrite;
    pic.custom_ptr = &memory;
    const bool ok = WebPPictureImportRGB(&pic, rgb.data(), width * 3) && WebPEncode(&config, &pic);
    WebPPictureFree(&pic);
    // The encoder writes a whole file: RIFF header, then the one "VP8L" chunk.
    const bool lossless = ok && memory.size > 20 && std::memcmp(memory.mem + 12, "VP8L", 4) == 0;
    if (lossless) out.assign(memory.mem + 12, memory.mem + memory.size);
    WebPMemoryWriterClear(&memory);
    return lossless;
  }

  GrowingFile File_;
  int32_t Width_ = 0, Height_ = 0, Zoom_ = 1;
};

}  // namespace

std::unique_ptr<FrameWriter> MakeWebpFrameWriter() { return std::make_unique<WebpFrameWriter>(); }

}  // namespace tavro
