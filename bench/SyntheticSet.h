// A set as large as a configuration may make one: a 1280 x 1024 playfield, 1,820 cels in 600
// objects, cels 16 to 256 pixels a side with a quarter of their pixels transparent, all shown in
// set 0. Built straight into a document so the composer can be timed without the loader, or
// written out as files so the loader can be timed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "document/CTavroDoc.h"
#include "document/SetQueries.h"

namespace tavro::bench {

inline constexpr int kSyntheticCels = 1820;
inline constexpr int kSyntheticObjects = 600;
// Object 0 is the one a drag moves: two 200 x 200 cels stacked into 200 x 400.
inline constexpr int kDragObject = 0;

struct SyntheticCel {
  int object = 0;
  int width = 0, height = 0;
  int offsetX = 0, offsetY = 0;
  bool alpha = false;           // 32-bit cel: 4 bytes a pixel
  int transparency = 0;         // 128 for half of the indexed cels in the true-colour variant
  std::vector<uint8_t> pixels;  // top row first, as a file holds them
};

struct SyntheticSet {
  std::vector<SyntheticCel> cels;
  std::vector<std::pair<int16_t, int16_t>> positions;  // per object
  size_t pixelCount = 0;                               // all cel pixels, every one visible
};

class Lcg {
 public:
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Between(int low, int high) { return low + static_cast<int>(Next() % (high - low + 1)); }

 private:
  uint32_t state_ = 12345;
};

inline void FillPixels(SyntheticCel& cel, Lcg& random) {
  const size_t count = static_cast<size_t>(cel.width) * cel.height;
  cel.pixels.resize(count * (cel.alpha ? 4 : 1));
  for (size_t i = 0; i < count; ++i) {
    const uint32_t r = random.Next();
    const bool transparent = (r & 3) == 0;
    if (!cel.alpha) {
      cel.pixels[i] = transparent ? 0 : static_cast<uint8_t>(1 + (r >> 2) % 255);
      continue;
    }
    uint8_t* p = &cel.pixels[i * 4];
    p[0] = static_cast<uint8_t>(r >> 2);
    p[1] = static_cast<uint8_t>(r >> 10);
    p[2] = static_cast<uint8_t>(r >> 18);
    p[3] = transparent ? 0 : ((r >> 4) & 1) ? 255 : static_cast<uint8_t>(1 + (r >> 5) % 254);
  }
}

// `mixed`: every fourth cel 32-bit with alpha and half of the indexed cels at level 128.
inline SyntheticSet MakeSyntheticSet(bool mixed) {
  Lcg random;
  SyntheticSet set;
  set.positions.assign(kSyntheticObjects, {0, 0});
  std::vector<std::pair<int, int>> extent(kSyntheticObjects, {0, 0});
  for (int i = 0; i < kSyntheticCels; ++i) {
    SyntheticCel cel;
    if (i < 2) {
      cel.object = kDragObject;
      cel.width = cel.height = 200;
      cel.offsetY = i * 200;
    } else {
      cel.object = 1 + (i - 2) % (kSyntheticObjects - 1);
      cel.width = random.Between(16, 256);
      cel.height = random.Between(16, 256);
    }
    cel.alpha = mixed && i % 4 == 3;
    cel.transparency = (mixed && !cel.alpha && i % 2 == 0) ? 128 : 0;
    FillPixels(cel, random);
    auto& [right, bottom] = extent[cel.object];
    right = std::max(right, cel.offsetX + cel.width);
    bottom = std::max(bottom, cel.offsetY + cel.height);
    set.pixelCount += static_cast<size_t>(cel.width) * cel.height;
    set.cels.push_back(std::move(cel));
  }
  for (int o = 0; o < kSyntheticObjects; ++o) {
    set.positions[o] = {
        static_cast<int16_t>(random.Between(0, kMaxPlayfieldWidth - extent[o].first)),
        static_cast<int16_t>(random.Between(0, kMaxPlayfieldHeight - extent[o].second))};
  }
  return set;
}

// Puts the set into `doc` as a load would leave it (cels decoded bottom-up), set 0 current.
inline void LoadIntoDocument(const SyntheticSet& set, CTavroDoc& doc, bool trueColour) {
  DollSet& built = doc.EditSet();
  built.SetPlayfieldSize(kMaxPlayfieldWidth, kMaxPlayfieldHeight);
  doc.EditMap().SetSize(kMaxPlayfieldWidth, kMaxPlayfieldHeight);
  built.MakeTables();
  SetPalettes palettes = built.Palettes();
  palettes.ColourCount = 256;
  built.ReplacePalettes(palettes);
  for (int i = 0; i < 256; ++i) {
    built.StoreGroupColour(0, i, static_cast<uint8_t>(i * 4), static_cast<uint8_t>(i * 5),
                           static_cast<uint8_t>(i * 3));
  }
  for (const SyntheticCel& source : set.cels) {
    built.EnsureSlot(source.object);
    CellEntry cell;
    cell.ObjectNumber = static_cast<int16_t>(source.object);
    cell.Width = static_cast<uint16_t>(source.width);
    cell.Height = static_cast<uint16_t>(source.height);
    cell.OffsetX = static_cast<int16_t>(source.offsetX);
    cell.OffsetY = static_cast<int16_t>(source.offsetY);
    cell.SetMask = 0xFFFF;
    cell.BitsPerPixel = source.alpha ? 24 : 8;
    cell.Transparency = static_cast<int16_t>(source.transparency);
    const size_t rowBytes = static_cast<size_t>(source.width) * (source.alpha ? 4 : 1);
    cell.Pixels.resize(source.pixels.size());
    for (int y = 0; y < source.height; ++y) {
      std::copy_n(source.pixels.begin() + static_cast<ptrdiff_t>(y * rowBytes), rowBytes,
                  cell.Pixels.begin() + static_cast<ptrdiff_t>((source.height - 1 - y) * rowBytes));
    }
    built.WidenExtent(cell, 0, 0, static_cast<int16_t>(source.offsetX + source.width),
                      static_cast<int16_t>(source.offsetY + source.height));
    built.AddCell(std::move(cell));
  }
  built.ForEachObject([&](int32_t number, uint16_t slot) {
    for (int s = 0; s < kSetCount; ++s) {
      built.StoreSetPosition(slot, s, set.positions[number].first, set.positions[number].second);
    }
  });
  built.MarkSetsInUse(0xFFFF);
  doc.EditMap().SetTrueColourMode(trueColour ? 1 : 0);
  doc.EditMap().Allocate(doc.Map().TrueColourMode());
  doc.SwitchSet(0);
  BuildPalette(doc.EditSet(), doc.EditMap(), 0);
  doc.MarkSetLoaded(true);
}

}  // namespace tavro::bench
