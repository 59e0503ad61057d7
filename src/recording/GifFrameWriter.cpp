// Animated GIF through giflib's streaming calls: one image block a frame, holding only the area
// that changed, over the frames before it (disposal "leave in place").
//
// 256-colour pictures use the set's own colour table as the global table and, after a colour
// group change, as a local one: every frame shows exactly the indices and colours of the map.
// True-colour pictures take the first frame's colours as the global table and give each later
// area a local table when its colours are not all in it (GifPalette.h).
#include <gif_lib.h>

#include <algorithm>
#include <vector>

#include "platform/GrowingFile.h"
#include "recording/FrameWriter.h"
#include "recording/GifPalette.h"

namespace tavro {
namespace {

class GifFrameWriter : public FrameWriter {
 public:
  ~GifFrameWriter() override {
    int error = 0;
    if (Gif_ != nullptr) EGifCloseFile(Gif_, &error);
  }

  bool Begin(const std::string& path, int32_t width, int32_t height, int32_t zoom,
             std::string& error) override {
    Width_ = width;
    Height_ = height;
    Zoom_ = zoom;
    if (int64_t{width} * zoom > 65535 || int64_t{height} * zoom > 65535) {
      error = "the picture is too large for a GIF (at most 65,535 pixels a side)";
      return false;
    }
    if (!File_.Create(path)) {
      error = "cannot create \"" + path + "\": " + ErrnoText(File_.Error());
      return false;
    }
    int gifError = 0;
    Gif_ = EGifOpen(this, &GifFrameWriter::Output, &gifError);
    if (Gif_ == nullptr) {
      error = std::string("cannot start the GIF: ") + GifErrorString(gifError);
      return false;
    }
    EGifSetGifVersion(Gif_, true);
    return true;
  }

  bool EncodeFrame(const Picture& picture, const MapRect& changed, std::vector<uint8_t>& frame,
                   std::string& error) override {
    MapRect area = IntersectRect(changed, picture.Whole());
    if (area.IsEmpty()) area = {0, 0, 1, 1};  // nothing to draw, but the time must pass
    std::vector<uint8_t> indices;
    std::vector<RgbColour> table;
    TakeArea(picture, area, indices, table);
    const bool first = !Started_;
    if (first) {
      Global_ = table;
      if (!PutScreen(error)) return false;
    }
    const bool local = !first && table != Global_;
    frame_ = &frame;
    const bool ok = PutControl() && PutImage(area, indices, local ? &table : nullptr);
    frame_ = nullptr;
    return ok || Fail("cannot write the GIF", error);
  }

  // The frame starts with its control block, whose delay is bytes 4 and 5, low byte first.
  void SetDuration(uint32_t startMs, uint32_t endMs, std::vector<uint8_t>& frame) override {
    // Centiseconds from the start, rounded, so that short frames never add up to a drift.
    const uint32_t delay = std::min<uint32_t>((endMs + 5) / 10 - (startMs + 5) / 10, 65535);
    if (frame.size() < 6) return;
    frame[4] = static_cast<uint8_t>(delay & 0xFF);
    frame[5] = static_cast<uint8_t>(delay >> 8);
  }

  bool Append(const std::vector<uint8_t>& bytes, std::string& error) override {
    if (File_.Append(bytes.data(), bytes.size())) return true;
    error = "cannot write the GIF: " + ErrnoText(File_.Error());
    return false;
  }

  bool Complete(std::string& error) override {
    int gifError = 0;
    const int closed = EGifCloseFile(Gif_, &gifError);
    Gif_ = nullptr;
    if (closed != GIF_OK || WriteFailed_) return Fail("cannot write the GIF", error);
    if (!File_.Commit()) {
      error = "cannot write the GIF: " + ErrnoText(File_.Error());
      return false;
    }
    return true;
  }

 private:
  static int Output(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* self = static_cast<GifFrameWriter*>(gif->UserData);
    if (self->frame_ != nullptr) {
      self->frame_->insert(self->frame_->end(), bytes, bytes + length);
      return length;
    }
    if (self->WriteFailed_ || !self->File_.Append(bytes, static_cast<size_t>(length))) {
      self->WriteFailed_ = true;
      return 0;
    }
    return length;
  }

  bool Fail(const std::string& what, std::string& error) {
    error = what + (WriteFailed_ ? ": " + ErrnoText(File_.Error()) : std::string());
    return false;
  }

  void TakeArea(const Picture& picture, const MapRect& area, std::vector<uint8_t>& indices,
                std::vector<RgbColour>& table) {
    if (picture.BytesPerPixel == 1) {
      for (int32_t y = area.Top; y < area.Bottom; ++y) {
        const uint8_t* row = picture.Row(y);
        indices.insert(indices.end(), row + area.Left, row + area.Right);
      }
      table.assign(picture.Table.begin(), picture.Table.end());
      return;
    }
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(area.Width()) * area.Height() * 3);
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
      const uint8_t* row = picture.Row(y);
      rgb.insert(rgb.end(), row + area.Left * 3, row + area.Right * 3);
    }
    if (Started_ && IndexWithTable(rgb, Global_, indices)) {
      table = Global_;
      return;
    }
    IndexedArea indexed = IndexColours(rgb);
    indices = std::move(indexed.Indices);
    table = std::move(indexed.Colours);
  }

  // A giflib colour map holds a power of two colours; the rest stays black.
  static ColorMapObject* MakeMap(const std::vector<RgbColour>& table) {
    int size = 2;
    while (size < static_cast<int>(table.size())) size *= 2;
    std::vector<GifColorType> colours(size);
    for (size_t i = 0; i < table.size(); ++i) colours[i] = {table[i][0], table[i][1], table[i][2]};
    return GifMakeMapObject(size, colours.data());
  }

  bool PutScreen(std::string& error) {
    ColorMapObject* map = MakeMap(Global_);
    const bool ok = map != nullptr &&
                    EGifPutScreenDesc(Gif_, Width_ * Zoom_, Height_ * Zoom_, 8, 0, map) == GIF_OK &&
                    PutLoop();
    GifFreeMapObject(map);
    Started_ = true;
    return ok || Fail("cannot write the GIF", error);
  }

  // Plays again and again, as the window would go on.
  bool PutLoop() {
    static const GifByteType kName[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType forever[] = {1, 0, 0};
    return EGifPutExtensionLeader(Gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(Gif_, sizeof kName, kName) == GIF_OK &&
           EGifPutExtensionBlock(Gif_, sizeof forever, forever) == GIF_OK &&
           EGifPutExtensionTrailer(Gif_) == GIF_OK;
  }

  // With no delay yet: SetDuration puts it in.
  bool PutControl() {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = 0;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType bytes[4];
    EGifGCBToExtension(&control, bytes);
    return EGifPutExtension(Gif_, GRAPHICS_EXT_FUNC_CODE, 4, bytes) == GIF_OK;
  }

  bool PutImage(const MapRect& area, const std::vector<uint8_t>& indices,
                const std::vector<RgbColour>* local) {
    ColorMapObject* map = local != nullptr ? MakeMap(*local) : nullptr;
    // giflib keeps a copy of the last image's local table and, when the next image has none,
    // forgets that copy without freeing it; free it first.
    if (map == nullptr && Gif_->Image.ColorMap != nullptr) {
      GifFreeMapObject(Gif_->Image.ColorMap);
      Gif_->Image.ColorMap = nullptr;
    }
    const int width = area.Width() * Zoom_;
    bool ok = (local == nullptr || map != nullptr) &&
              EGifPutImageDesc(Gif_, area.Left * Zoom_, area.Top * Zoom_, width,
                               area.Height() * Zoom_, false, map) == GIF_OK;
    GifFreeMapObject(map);
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int32_t y = 0; ok && y < area.Height(); ++y) {
      const uint8_t* row = indices.data() + static_cast<size_t>(y) * area.Width();
      for (int x = 0; x < width; ++x) line[x] = row[x / Zoom_];
      for (int32_t i = 0; ok && i < Zoom_; ++i)
        ok = EGifPutLine(Gif_, line.data(), width) == GIF_OK;
    }
    return ok && !WriteFailed_;
  }

  GrowingFile File_;
  GifFileType* Gif_ = nullptr;
  bool Started_ = false;
  bool WriteFailed_ = false;
  int32_t Width_ = 0, Height_ = 0, Zoom_ = 1;
  std::vector<RgbColour> Global_;
  // Where giflib's output goes while a frame is encoded, to wait for its duration.
  std::vector<uint8_t>* frame_ = nullptr;
};

}  // namespace

std::unique_ptr<FrameWriter> MakeGifFrameWriter() { return std::make_unique<GifFrameWriter>(); }

}  // namespace tavro
