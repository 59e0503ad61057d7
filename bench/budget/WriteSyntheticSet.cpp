// Writes the benchmarks' synthetic maximum set as files a person could open: a configuration,
// one palette of 256 colours and 1,820 cel files. Prints the bytes the loaded set must hold, so
// that a memory measurement can be set against them.
//
//   tavro_write_synthetic_set <directory> [mixed]
//
// Output lines: "pixels N", "map N" (the composed map, one or four bytes a pixel), "work N"
// (memory composition needs beside the map: none) and "text N" (the configuration's size).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "SyntheticSet.h"
#include "support/SetFiles.h"

namespace {

using tavro::bench::SyntheticCel;
using tavro::bench::SyntheticSet;

std::string CelName(size_t index) { return "c" + std::to_string(index) + ".cel"; }

tavro::test::Bytes EncodeCel(const SyntheticCel& cel) {
  if (!cel.Alpha) {
    return tavro::test::EncodeIndexedCel(8, cel.Width, cel.Height, cel.OffsetX, cel.OffsetY,
                                         cel.Pixels);
  }
  std::vector<tavro::test::Bgra> px(cel.Pixels.size() / 4);
  for (size_t i = 0; i < px.size(); ++i) {
    px[i] = {cel.Pixels[i * 4], cel.Pixels[i * 4 + 1], cel.Pixels[i * 4 + 2],
             cel.Pixels[i * 4 + 3]};
  }
  return tavro::test::EncodeTrueCel(cel.Width, cel.Height, cel.OffsetX, cel.OffsetY, px);
}

// Set 0 lists every object's position, wrapped into continuation lines as a save writes them.
std::string SetZeroLines(const SyntheticSet& set) {
  std::string text = "$0";
  size_t column = text.size();
  for (const auto& [x, y] : set.Positions) {
    const std::string entry = " " + std::to_string(x) + "," + std::to_string(y);
    if (column + entry.size() > 70) {
      text += "\r\n";
      column = 0;
    }
    text += entry;
    column += entry.size();
  }
  return text + "\r\n";
}

std::string ConfigText(const SyntheticSet& set) {
  std::string text = "; the synthetic maximum set\r\n(1280,1024)\r\n%max.kcf\r\n";
  for (size_t i = 0; i < set.Cels.size(); ++i) {
    const SyntheticCel& cel = set.Cels[i];
    text += "#" + std::to_string(cel.Object) + " " + CelName(i) + " :0";
    if (cel.Transparency != 0) text += " ;%t" + std::to_string(cel.Transparency);
    text += "\r\n";
  }
  return text + SetZeroLines(set);
}

std::vector<std::vector<tavro::test::Rgb>> Palette() {
  std::vector<std::vector<tavro::test::Rgb>> groups(10, std::vector<tavro::test::Rgb>(256));
  for (auto& group : groups) {
    for (int i = 0; i < 256; ++i) {
      group[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 3),
                  static_cast<uint8_t>(i * 5)};
    }
  }
  return groups;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "mixed")) {
    std::fprintf(stderr, "usage: %s <directory> [mixed]\n", argv[0]);
    return 2;
  }
  const bool mixed = argc == 3;
  const SyntheticSet set = tavro::bench::MakeSyntheticSet(mixed);
  std::filesystem::create_directories(argv[1]);
  const tavro::test::SetFiles files{std::filesystem::path(argv[1])};
  size_t pixelBytes = 0;
  bool anyAlpha = false;
  for (size_t i = 0; i < set.Cels.size(); ++i) {
    files.Write(CelName(i), EncodeCel(set.Cels[i]));
    pixelBytes += set.Cels[i].Pixels.size();
    anyAlpha = anyAlpha || set.Cels[i].Alpha || set.Cels[i].Transparency != 0;
  }
  files.Write("max.kcf", tavro::test::EncodeNewPalette(24, 256, Palette()));
  const std::string text = ConfigText(set);
  files.WriteText("max.cnf", text);
  const size_t pixels = static_cast<size_t>(tavro::kMaxPlayfieldWidth) * tavro::kMaxPlayfieldHeight;
  std::printf("pixels %zu\nmap %zu\nwork %zu\ntext %zu\n", pixelBytes, pixels * (anyAlpha ? 4 : 1),
              size_t{0}, text.size());
  return 0;
}
