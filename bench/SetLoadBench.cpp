// Loading the largest set a configuration can describe from disk, beside reading the same files'
// bytes in the same run. Counter "x_read": whole load (parse, decode, compose) / plain read, both
// in wall time, since cels decode on every core; "x_read_cpu": the calling thread's CPU time
// alone against the read's, the work that is left in line.
//
// Two sets: the plain one (8-bit cels, shown in 256 colours as a load leaves it) and the mixed
// one, whose 32-bit cels switch the load to true colour and whose blended cels make the first
// composition several times dearer than the plain one's.
#include <benchmark/benchmark.h>
#include <time.h>

#include <fstream>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "SyntheticSet.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::bench {
namespace {

test::Bytes EncodeCel(const SyntheticCel& cel) {
  if (!cel.Alpha) {
    return test::EncodeIndexedCel(8, cel.Width, cel.Height, cel.OffsetX, cel.OffsetY, cel.Pixels);
  }
  std::vector<test::Bgra> pixels(cel.Pixels.size() / 4);
  for (size_t i = 0; i < pixels.size(); ++i) {
    const uint8_t* p = &cel.Pixels[i * 4];
    pixels[i] = {p[0], p[1], p[2], p[3]};
  }
  return test::EncodeTrueCel(cel.Width, cel.Height, cel.OffsetX, cel.OffsetY, pixels);
}

// Positions of all objects in set 0, ten to a line: longer lines would be cut at 255 bytes.
std::string SetLines(const SyntheticSet& set) {
  std::string text = "$0";
  for (size_t o = 0; o < set.Positions.size(); ++o) {
    if (o > 0 && o % 10 == 0) text += "\n";
    text += " " + std::to_string(set.Positions[o].first) + "," +
            std::to_string(set.Positions[o].second);
  }
  return text + "\n";
}

struct SetOnDisk {
  test::TempDir Dir;
  std::vector<std::string> Names;

  explicit SetOnDisk(bool mixed) {
    const SyntheticSet set = MakeSyntheticSet(mixed);
    test::SetFiles files(Dir.Path());
    std::vector<test::Rgb> colours(256);
    for (int i = 0; i < 256; ++i) {
      colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 3),
                    static_cast<uint8_t>(i * 7)};
    }
    files.Write("colours.pal", test::EncodeNewPalette(24, 256, {colours}));
    std::string cnf = "(1280,1024)\n%colours.pal\n";
    for (size_t i = 0; i < set.Cels.size(); ++i) {
      const SyntheticCel& cel = set.Cels[i];
      const std::string name = "c" + std::to_string(i) + ".cel";
      files.Write(name, EncodeCel(cel));
      Names.push_back(name);
      cnf += "#" + std::to_string(cel.Object) + " " + name + " :0";
      if (cel.Transparency != 0) cnf += " ;%t" + std::to_string(cel.Transparency);
      cnf += "\n";
    }
    files.WriteText("max.cnf", cnf + SetLines(set));
    Names.push_back("colours.pal");
    Names.push_back("max.cnf");
  }

  std::string Path(const std::string& name) const { return (Dir.Path() / name).string(); }
};

const SetOnDisk& Disk(bool mixed) {
  static SetOnDisk plain(false);
  if (!mixed) return plain;
  static SetOnDisk withBlending(true);
  return withBlending;
}

void ReadAllFiles(const SetOnDisk& disk) {
  for (const std::string& name : disk.Names) {
    std::ifstream file(disk.Path(name), std::ios::binary | std::ios::ate);
    std::vector<char> bytes(static_cast<size_t>(file.tellg()));
    file.seekg(0);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    benchmark::DoNotOptimize(bytes.data());
  }
}

bool LoadSet(CTavroDoc& doc, const SetOnDisk& disk) {
  return doc.OnOpenDocument(disk.Path("max.cnf")).Opened && doc.StartLoadedSet();
}

void BM_ReadSetFiles(benchmark::State& state) {
  const SetOnDisk& disk = Disk(state.range(0) != 0);
  for (auto _ : state) ReadAllFiles(disk);
}

void BM_LoadWholeSet(benchmark::State& state) {
  const SetOnDisk& disk = Disk(state.range(0) != 0);
  double read = 1e30;
  double readCpu = 1e30;
  for (int i = 0; i < 3; ++i) {
    const double start = WallSeconds();
    const double startCpu = ThreadSeconds();
    ReadAllFiles(disk);
    read = std::min(read, WallSeconds() - start);
    readCpu = std::min(readCpu, ThreadSeconds() - startCpu);
  }
  test::FakeHost host;
  CTavroDoc doc(host);
  double total = 0;
  double totalCpu = 0;
  int64_t runs = 0;
  for (auto _ : state) {
    const double start = WallSeconds();
    const double startCpu = ThreadSeconds();
    if (!LoadSet(doc, disk)) state.SkipWithError("the set did not load");
    total += WallSeconds() - start;
    totalCpu += ThreadSeconds() - startCpu;
    ++runs;
  }
  // The set is made to load cleanly; a report would mean it measures a different load.
  if (!doc.LastLoad().Problems.Empty()) state.SkipWithError("the set reports load problems");
  if (runs > 0) {
    state.counters["x_read"] = total / static_cast<double>(runs) / read;
    state.counters["x_read_cpu"] = totalCpu / static_cast<double>(runs) / readCpu;
  }
  state.counters["cels"] = doc.LastLoad().LoadedCels;
}

BENCHMARK(BM_ReadSetFiles)->ArgName("mixed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWholeSet)->ArgName("mixed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavro::bench

BENCHMARK_MAIN();
