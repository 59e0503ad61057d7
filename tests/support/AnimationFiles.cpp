#include "support/AnimationFiles.h"

#include <gif_lib.h>
#include <webp/demux.h>

#include <fstream>
#include <iterator>

namespace tavro::test {

uint32_t Animation::TotalMs() const {
  uint32_t total = 0;
  for (const ShownFrame& frame : frames) total += frame.durationMs;
  return total;
}

std::vector<uint32_t> Animation::Durations() const {
  std::vector<uint32_t> durations;
  for (const ShownFrame& frame : frames) durations.push_back(frame.durationMs);
  return durations;
}

Animation ReadGifAnimation(const std::string& path) {
  Animation result;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
    result.error = GifErrorString(gif != nullptr ? gif->Error : error);
    if (gif != nullptr) DGifCloseFile(gif, &error);
    return result;
  }
  result.width = gif->SWidth;
  result.height = gif->SHeight;
  std::vector<uint8_t> canvas(static_cast<size_t>(result.width) * result.height * 3, 0);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& desc = image.ImageDesc;
    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    for (int y = 0; y < desc.Height; ++y) {
      for (int x = 0; x < desc.Width; ++x) {
        const GifColorType c = map->Colors[image.RasterBits[y * desc.Width + x]];
        uint8_t* p =
            &canvas[((desc.Top + y) * static_cast<size_t>(result.width) + desc.Left + x) * 3];
        p[0] = c.Red;
        p[1] = c.Green;
        p[2] = c.Blue;
      }
    }
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    result.frames.push_back({canvas, static_cast<uint32_t>(control.DelayTime) * 10});
  }
  DGifCloseFile(gif, &error);
  result.ok = true;
  return result;
}

Animation ReadWebpAnimation(const std::string& path) {
  Animation result;
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  WebPAnimDecoderOptions options;
  WebPAnimDecoderOptionsInit(&options);
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  const WebPData data{bytes.data(), bytes.size()};
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  WebPAnimInfo info{};
  if (decoder == nullptr || !WebPAnimDecoderGetInfo(decoder, &info)) {
    result.error = "not an animated WebP";
    WebPAnimDecoderDelete(decoder);
    return result;
  }
  result.width = static_cast<int>(info.canvas_width);
  result.height = static_cast<int>(info.canvas_height);
  int previous = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder)) {
    uint8_t* rgba = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder, &rgba, &timestamp)) {
      result.error = "a frame does not decode";
      WebPAnimDecoderDelete(decoder);
      return result;
    }
    ShownFrame frame;
    const size_t pixels = static_cast<size_t>(result.width) * result.height;
    frame.rgb.resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
      for (int c = 0; c < 3; ++c) frame.rgb[i * 3 + c] = rgba[i * 4 + c];
    }
    frame.durationMs = static_cast<uint32_t>(timestamp - previous);
    previous = timestamp;
    result.frames.push_back(std::move(frame));
  }
  WebPAnimDecoderDelete(decoder);
  result.ok = true;
  return result;
}

Animation ReadAnimation(const std::string& path) {
  return path.size() > 4 && path.substr(path.size() - 4) == ".gif" ? ReadGifAnimation(path)
                                                                   : ReadWebpAnimation(path);
}

}  // namespace tavro::test
