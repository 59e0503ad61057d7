// Loading cels against just reading their bytes: decoding happens once per load and should cost
// little beyond the file reads themselves (aim: within 3x of the baseline).
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

// A set-sized mix: 120 cels, 4-bit, 8-bit and 32-bit, from small parts to a full backdrop.
struct CelSet {
  test::TempDir Dir;
  std::vector<std::string> Names;

  CelSet() {
    test::SetFiles files(Dir.Path());
    for (int i = 0; i < 120; ++i) {
      const int w = 40 + (i * 37) % 300;
      const int h = 30 + (i * 53) % 200;
      std::vector<uint8_t> values(static_cast<size_t>(w) * h);
      for (size_t p = 0; p < values.size(); ++p) values[p] = static_cast<uint8_t>(p * 7 + i);
      const std::string name = "cel" + std::to_string(i) + ".cel";
      if (i % 3 == 0) {
        files.Write(name, test::EncodeOldCel(w, h, values));
      } else if (i % 3 == 1) {
        files.Write(name, test::EncodeIndexedCel(8, w, h, 0, 0, values));
      } else {
        std::vector<test::Bgra> px(values.size());
        for (size_t p = 0; p < px.size(); ++p) px[p] = {values[p], 1, 2, 255};
        files.Write(name, test::EncodeTrueCel(w, h, 0, 0, px));
      }
      Names.push_back(name);
    }
  }
};

CelSet& Set() {
  static CelSet set;
  return set;
}

void BM_ReadCelBytes(benchmark::State& state) {
  const CelSet& set = Set();
  for (auto _ : state) {
    for (const std::string& name : set.Names) {
      std::ifstream file(set.Dir.Path() / name, std::ios::binary | std::ios::ate);
      std::vector<char> bytes(static_cast<size_t>(file.tellg()));
      file.seekg(0);
      file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      benchmark::DoNotOptimize(bytes.data());
    }
  }
}
BENCHMARK(BM_ReadCelBytes)->Unit(benchmark::kMillisecond);

void BM_LoadCels(benchmark::State& state) {
  const CelSet& set = Set();
  test::FakeHost host;
  CTavroDoc doc(host);
  doc.EditSet().SetFilePath({set.Dir.Str() + "/", "", ""});
  doc.EditSet().SetPlayfieldSize(kMaxPlayfieldWidth, kMaxPlayfieldHeight);
  doc.EditSet().EnsureSlot(0);
  CelFileLoader loader;
  bool trueColourMark = false;
  LoadProblems problems;
  for (auto _ : state) {
    for (const std::string& name : set.Names) {
      CellEntry cell;
      std::strncpy(cell.FileName, name.c_str(), sizeof cell.FileName - 1);
      cell.SetMask = 0xFFFF;
      if (loader.Load(doc.EditSet(), cell, trueColourMark, problems) != 0)
        state.SkipWithError("cel did not load");
      benchmark::DoNotOptimize(cell.Pixels.data());
    }
  }
}
BENCHMARK(BM_LoadCels)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavro

BENCHMARK_MAIN();
