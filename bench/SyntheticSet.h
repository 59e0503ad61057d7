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
  int Object = 0;
  int Width = 0, Height = 0;
  int OffsetX = 0, OffsetY = 0;
  bool Alpha = false;           // 32-bit cel: 4 bytes a pixel
  int Transparency = 0;         // 128 for half of the indexed cels in the true-colour variant
  std::vector<uint8_t> Pixels;  // top row first, as a file holds them
};

struct SyntheticSet {
  std::vector<SyntheticCel> Cels;
  std::vector<std::pair<int16_t, int16_t>> Positions;  // per object
  size_t PixelCount = 0;                               // all cel pixels, every one visible
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
  const size_t count = static_cast<size_t>(cel.Width) * cel.Height;
  cel.Pixels.resize(count * (cel.Alpha ? 4 : 1));
  for (size_t i = 0; i < count; ++i) {
    const uint32_t r = random.Next();
    const bool transparent = (r & 3) == 0;
    if (!cel.Alpha) {
      cel.Pixels[i] = transparent ? 0 : static_cast<uint8_t>(1 + (r >> 2) % 255);
      continue;
    }
    uint8_t* p = &cel.Pixels[i * 4];
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
  set.Positions.assign(kSyntheticObjects, {0, 0});
  std::vector<std::pair<int, int>> extent(kSyntheticObjects, {0, 0});
  for (int i = 0; i < kSyntheticCels; ++i) {
    SyntheticCel cel;
    if (i < 2) {
      cel.Object = kDragObject;
      cel.Width = cel.Height = 200;
      cel.OffsetY = i * 200;
    } else {
      cel.Object = 1 + (i - 2) % (kSyntheticObjects - 1);
      cel.Width = random.Between(16, 256);
      cel.Height = random.Between(16, 256);
    }
    cel.Alpha = mixed && i % 4 == 3;
    cel.Transparency = (mixed && !cel.Alpha && i % 2 == 0) ? 128 : 0;
    FillPixels(cel, random);
    auto& [right, bottom] = extent[cel.Object];
    right = std::max(right, cel.OffsetX + cel.Width);
    bottom = std::max(bottom, cel.OffsetY + cel.Height);
    set.PixelCount += static_cast<size_t>(cel.Width) * cel.Height;
    set.Cels.push_back(std::move(cel));
  }
  for (int o = 0; o < kSyntheticObjects; ++o) {
    set.Positions[o] = {
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
  for (const SyntheticCel& source : set.Cels) {
    built.EnsureSlot(source.Object);
    CellEntry cell;
    cell.ObjectNumber = static_cast<int16_t>(source.Object);
    cell.Width = static_cast<uint16_t>(source.Width);
    cell.Height = static_cast<uint16_t>(source.Height);
    cell.OffsetX = static_cast<int16_t>(source.OffsetX);
    cell.OffsetY = static_cast<int16_t>(source.OffsetY);
    cell.SetMask = 0xFFFF;
    cell.BitsPerPixel = source.Alpha ? 24 : 8;
    cell.Transparency = static_cast<int16_t>(source.Transparency);
    const size_t rowBytes = static_cast<size_t>(source.Width) * (source.Alpha ? 4 : 1);
    cell.Pixels.resize(source.Pixels.size());
    for (int y = 0; y < source.Height; ++y) {
      std::copy_n(source.Pixels.begin() + static_cast<ptrdiff_t>(y * rowBytes), rowBytes,
                  cell.Pixels.begin() + static_cast<ptrdiff_t>((source.Height - 1 - y) * rowBytes));
    }
    built.WidenExtent(cell, 0, 0, static_cast<int16_t>(source.OffsetX + source.Width),
                      static_cast<int16_t>(source.OffsetY + source.Height));
    built.AddCell(std::move(cell));
  }
  built.ForEachObject([&](int32_t number, uint16_t slot) {
    for (int s = 0; s < kSetCount; ++s) {
      built.StoreSetPosition(slot, s, set.Positions[number].first, set.Positions[number].second);
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
