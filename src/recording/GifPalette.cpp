#include "recording/GifPalette.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace tavro {
namespace {

uint32_t Key(const uint8_t* p) { return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]; }
RgbColour FromKey(uint32_t key) {
  return {static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8),
          static_cast<uint8_t>(key)};
}

struct Counted {
  RgbColour Colour;
  uint32_t Count;
};

struct Box {
  size_t Begin, End;  // a run of the histogram
  int Channel = 0;    // the widest
  int Range = -1;     // its spread; -1 when it cannot be split
};

void Measure(const std::vector<Counted>& colours, Box& box) {
  std::array<int, 3> low{255, 255, 255}, high{0, 0, 0};
  for (size_t i = box.Begin; i < box.End; ++i) {
    for (int c = 0; c < 3; ++c) {
      low[c] = std::min<int>(low[c], colours[i].Colour[c]);
      high[c] = std::max<int>(high[c], colours[i].Colour[c]);
    }
  }
  box.Range = -1;
  if (box.End - box.Begin < 2) return;
  for (int c = 0; c < 3; ++c) {
    if (high[c] - low[c] > box.Range) {
      box.Range = high[c] - low[c];
      box.Channel = c;
    }
  }
}

// Splits the box at the median pixel of its widest channel.
Box Split(std::vector<Counted>& colours, Box& box) {
  const int c = box.Channel;
  std::sort(colours.begin() + box.Begin, colours.begin() + box.End,
            [c](const Counted& a, const Counted& b) {
              return a.Colour[c] != b.Colour[c] ? a.Colour[c] < b.Colour[c]
                                                : Key(a.Colour.data()) < Key(b.Colour.data());
            });
  uint64_t total = 0;
  for (size_t i = box.Begin; i < box.End; ++i) total += colours[i].Count;
  uint64_t seen = 0;
  size_t cut = box.Begin + 1;
  for (size_t i = box.Begin; i < box.End - 1; ++i) {
    seen += colours[i].Count;
    cut = i + 1;
    if (seen * 2 >= total) break;
  }
  Box upper{cut, box.End};
  box.End = cut;
  Measure(colours, box);
  Measure(colours, upper);
  return upper;
}

RgbColour MeanColour(const std::vector<Counted>& colours, const Box& box) {
  uint64_t sum[3] = {0, 0, 0};
  uint64_t total = 0;
  for (size_t i = box.Begin; i < box.End; ++i) {
    for (int c = 0; c < 3; ++c) sum[c] += uint64_t{colours[i].Colour[c]} * colours[i].Count;
    total += colours[i].Count;
  }
  RgbColour mean{};
  for (int c = 0; c < 3; ++c) mean[c] = static_cast<uint8_t>((sum[c] + total / 2) / total);
  return mean;
}

std::vector<RgbColour> MedianCut(std::vector<Counted> colours) {
  std::vector<Box> boxes{{0, colours.size()}};
  Measure(colours, boxes[0]);
  while (boxes.size() < kPaletteColours) {
    auto widest = std::max_element(boxes.begin(), boxes.end(),
                                   [](const Box& a, const Box& b) { return a.Range < b.Range; });
    if (widest->Range < 0) break;
    const Box upper = Split(colours, *widest);
    boxes.push_back(upper);
  }
  std::vector<RgbColour> table;
  for (const Box& box : boxes) table.push_back(MeanColour(colours, box));
  return table;
}

uint8_t Nearest(const std::vector<RgbColour>& table, const uint8_t* p) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (size_t i = 0; i < table.size(); ++i) {
    int distance = 0;
    for (int c = 0; c < 3; ++c) {
      const int d = int{table[i][c]} - int{p[c]};
      distance += d * d;
    }
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return static_cast<uint8_t>(best);
}

}  // namespace

IndexedArea IndexColours(const std::vector<uint8_t>& pixels) {
  IndexedArea area;
  const size_t count = pixels.size() / 3;
  area.Indices.resize(count);
  std::unordered_map<uint32_t, uint32_t> seen;
  for (size_t i = 0; i < count; ++i) {
    const auto [at, fresh] = seen.try_emplace(Key(&pixels[i * 3]), 0);
    if (fresh && seen.size() <= kPaletteColours) {
      at->second = static_cast<uint32_t>(area.Colours.size());
      area.Colours.push_back(FromKey(at->first));
    }
    if (seen.size() <= kPaletteColours) area.Indices[i] = static_cast<uint8_t>(at->second);
  }
  if (seen.size() <= kPaletteColours) return area;

  // Too many colours: count them all, in an order that does not depend on hashing.
  std::unordered_map<uint32_t, uint32_t> histogram;
  for (size_t i = 0; i < count; ++i) ++histogram[Key(&pixels[i * 3])];
  std::vector<Counted> colours;
  colours.reserve(histogram.size());
  for (const auto& [key, n] : histogram) colours.push_back({FromKey(key), n});
  std::sort(colours.begin(), colours.end(), [](const Counted& a, const Counted& b) {
    return Key(a.Colour.data()) < Key(b.Colour.data());
  });
  area.Colours = MedianCut(std::move(colours));
  area.Exact = false;
  std::unordered_map<uint32_t, uint8_t> nearest;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = &pixels[i * 3];
    const auto [at, fresh] = nearest.try_emplace(Key(p), 0);
    if (fresh) at->second = Nearest(area.Colours, p);
    area.Indices[i] = at->second;
  }
  return area;
}

bool IndexWithTable(const std::vector<uint8_t>& pixels, const std::vector<RgbColour>& table,
                    std::vector<uint8_t>& indices) {
  std::unordered_map<uint32_t, uint8_t> lookup;
  for (size_t i = table.size(); i-- > 0;) lookup[Key(table[i].data())] = static_cast<uint8_t>(i);
  const size_t count = pixels.size() / 3;
  indices.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const auto found = lookup.find(Key(&pixels[i * 3]));
    if (found == lookup.end()) return false;
    indices[i] = found->second;
  }
  return true;
}

}  // namespace tavro
