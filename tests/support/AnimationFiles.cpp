#include "support/AnimationFiles.h"

#include <gif_lib.h>
#include <webp/demux.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace tavro::test {

uint32_t Animation::TotalMs() const {
  uint32_t total = 0;
  for (const ShownFrame& frame : Frames) total += frame.DurationMs;
  return total;
}

std::vector<uint32_t> Animation::Durations() const {
  std::vector<uint32_t> durations;
  for (const ShownFrame& frame : Frames) durations.push_back(frame.DurationMs);
  return durations;
}

Animation ReadGifAnimation(const std::string& path) {
  Animation result;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
    result.Error = GifErrorString(gif != nullptr ? gif->Error : error);
    if (gif != nullptr) DGifCloseFile(gif, &error);
    return result;
  }
  result.Width = gif->SWidth;
  result.Height = gif->SHeight;
  std::vector<uint8_t> canvas(static_cast<size_t>(result.Width) * result.Height * 3, 0);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& desc = image.ImageDesc;
    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    for (int y = 0; y < desc.Height; ++y) {
      for (int x = 0; x < desc.Width; ++x) {
        const GifColorType c = map->Colors[image.RasterBits[y * desc.Width + x]];
        uint8_t* p =
            &canvas[((desc.Top + y) * static_cast<size_t>(result.Width) + desc.Left + x) * 3];
        p[0] = c.Red;
        p[1] = c.Green;
        p[2] = c.Blue;
      }
    }
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    result.Frames.push_back({canvas, static_cast<uint32_t>(control.DelayTime) * 10, desc.Left,
                             desc.Top, desc.Width, desc.Height});
  }
  DGifCloseFile(gif, &error);
  result.Ok = true;
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
    result.Error = "not an animated WebP";
    WebPAnimDecoderDelete(decoder);
    return result;
  }
  result.Width = static_cast<int>(info.canvas_width);
  result.Height = static_cast<int>(info.canvas_height);
  result.EvenCorners = true;
  // The animation decoder gives whole canvases; the demuxer tells where each frame lies.
  WebPDemuxer* demuxer = WebPDemux(&data);
  int previous = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder)) {
    uint8_t* rgba = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder, &rgba, &timestamp)) {
      result.Error = "a frame does not decode";
      WebPDemuxDelete(demuxer);
      WebPAnimDecoderDelete(decoder);
      return result;
    }
    ShownFrame frame;
    const size_t pixels = static_cast<size_t>(result.Width) * result.Height;
    frame.Rgb.resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
      for (int c = 0; c < 3; ++c) frame.Rgb[i * 3 + c] = rgba[i * 4 + c];
    }
    frame.DurationMs = static_cast<uint32_t>(timestamp - previous);
    previous = timestamp;
    WebPIterator iterator;
    if (demuxer != nullptr &&
        WebPDemuxGetFrame(demuxer, static_cast<int>(result.Frames.size()) + 1, &iterator)) {
      frame.Left = iterator.x_offset;
      frame.Top = iterator.y_offset;
      frame.Width = iterator.width;
      frame.Height = iterator.height;
      WebPDemuxReleaseIterator(&iterator);
    }
    result.Frames.push_back(std::move(frame));
  }
  WebPDemuxDelete(demuxer);
  WebPAnimDecoderDelete(decoder);
  result.Ok = true;
  return result;
}

Animation ReadAnimation(const std::string& path) {
  return path.size() > 4 && path.substr(path.size() - 4) == ".gif" ? ReadGifAnimation(path)
                                                                   : ReadWebpAnimation(path);
}

std::string FrameFaults(const Animation& animation) {
  const auto text = [](int left, int top, int right, int bottom) {
    return "(" + std::to_string(left) + "," + std::to_string(top) + ")-(" + std::to_string(right) +
           "," + std::to_string(bottom) + ")";
  };
  const int w = animation.Width, h = animation.Height;
  std::string faults;
  for (size_t i = 0; i < animation.Frames.size(); ++i) {
    const ShownFrame& frame = animation.Frames[i];
    // The first frame holds all; a later one what differs from the frame before.
    int left = i == 0 ? 0 : w, top = i == 0 ? 0 : h, right = i == 0 ? w : 0,
        bottom = i == 0 ? h : 0;
    for (int y = 0; i > 0 && y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const size_t at = (static_cast<size_t>(y) * w + x) * 3;
        if (std::equal(&frame.Rgb[at], &frame.Rgb[at] + 3, &animation.Frames[i - 1].Rgb[at]))
          continue;
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
      }
    }
    const std::string has =
        text(frame.Left, frame.Top, frame.Left + frame.Width, frame.Top + frame.Height);
    const std::string wanted = text(animation.EvenCorners ? left & ~1 : left,
                                    animation.EvenCorners ? top & ~1 : top, right, bottom);
    if (right == 0) {
      faults += "frame " + std::to_string(i) + " shows the same picture as the frame before\n";
    } else if (has != wanted) {
      faults += "frame " + std::to_string(i) + " covers " + has + ", not " + wanted + "\n";
    }
  }
  return faults;
}

}  // namespace tavro::test
