// Composition of the largest set a configuration can describe, each figure given as a ratio to
// a baseline timed in the same run: a memcpy of the bytes composition has to move, or for a drag
// a full recomposition.
//
// Counters: "x_memcpy" (full composition / memcpy), "x_full" (drag recomposition / full one),
// all from this thread's CPU time.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstring>
#include <memory>
#include <vector>

#include "BenchClock.h"
#include "SyntheticSet.h"
#include "composition/Composer.h"
#include "support/FakeHost.h"

namespace tavro::bench {
namespace {

template <typename Fn>
double BestSeconds(Fn&& fn, int runs) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const double start = ThreadSeconds();
    fn();
    benchmark::ClobberMemory();
    best = std::min(best, ThreadSeconds() - start);
  }
  return best;
}

double MemcpySeconds(size_t bytes) {
  std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
  return BestSeconds([&] { std::memcpy(to.data(), from.data(), bytes); }, 20);
}

struct Fixture {
  explicit Fixture(bool trueColour) : Set(MakeSyntheticSet(trueColour)), Doc(Host) {
    LoadIntoDocument(Set, Doc, trueColour);
  }
  test::FakeHost Host;
  SyntheticSet Set;
  CTavroDoc Doc;
};

Fixture& Shared(bool trueColour) {
  static std::unique_ptr<Fixture> fixtures[2];
  auto& fixture = fixtures[trueColour ? 1 : 0];
  if (!fixture) fixture = std::make_unique<Fixture>(trueColour);
  return *fixture;
}

void ComposeWhole(CTavroDoc& doc) {
  compose::ComposeRect(
      doc.Set(), doc.EditMap(),
      compose::RectOfSpan(0, 0, doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight()),
      doc.Pointer().HeldSlot());
}

// Times `work` per iteration with our own clock so it can be set beside the baseline.
template <typename Fn>
double TimedLoop(benchmark::State& state, Fn&& work) {
  double total = 0;
  int64_t runs = 0;
  for (auto _ : state) {
    const double start = ThreadSeconds();
    work();
    benchmark::ClobberMemory();
    total += ThreadSeconds() - start;
    ++runs;
  }
  return runs ? total / static_cast<double>(runs) : 0;
}

void BM_ComposeFull256(benchmark::State& state) {
  Fixture& f = Shared(false);
  const size_t mapBytes = static_cast<size_t>(f.Doc.Map().Stride()) * f.Doc.Map().Height();
  const double baseline = MemcpySeconds(f.Set.PixelCount + mapBytes);
  const double compose = TimedLoop(state, [&] { ComposeWhole(f.Doc); });
  state.counters["x_memcpy"] = compose / baseline;
  state.counters["memcpy_ms"] = baseline * 1e3;
}

void BM_ComposeFullTrueColour(benchmark::State& state) {
  Fixture& f = Shared(true);
  const size_t mapPixels = static_cast<size_t>(f.Doc.Map().Stride()) * f.Doc.Map().Height();
  const double baseline = MemcpySeconds((f.Set.PixelCount + mapPixels) * 3);
  const double compose = TimedLoop(state, [&] { ComposeWhole(f.Doc); });
  state.counters["x_memcpy"] = compose / baseline;
  state.counters["memcpy_ms"] = baseline * 1e3;
}

// The 200 x 400 object moved 5 pixels right and down: what a drag step recomposes is the union
// of where it was and where it is.
void DragStep(CTavroDoc& doc, int step) {
  const uint16_t slot = doc.Set().SlotOf(kDragObject);
  const ObjectEntry& object = doc.Set().ObjectTable()[slot];
  const int16_t delta = (step & 1) ? -5 : 5;
  const MapRect before{object.X, object.Y, object.X + object.ExtentRight,
                       object.Y + object.ExtentBottom};
  doc.EditSet().PlaceObject(slot, object.X + delta, object.Y + delta);
  const MapRect after{object.X, object.Y, object.X + object.ExtentRight,
                      object.Y + object.ExtentBottom};
  const MapRect changed = UnionRect(before, after);
  compose::ComposeRect(
      doc.Set(), doc.EditMap(),
      compose::RectOfSpan(changed.Left, changed.Top, changed.Width(), changed.Height()),
      doc.Pointer().HeldSlot());
}

void BM_DragRecompose(benchmark::State& state) {
  Fixture& f = Shared(state.range(0) != 0);
  const double full = BestSeconds([&] { ComposeWhole(f.Doc); }, 3);
  int step = 0;
  // Held, as the view's press leaves it; the first steps of a drag set up what later ones reuse.
  f.Doc.Pointer().Hold(f.Doc.Set().SlotOf(kDragObject));
  const double drag = TimedLoop(state, [&] { DragStep(f.Doc, step++); });
  f.Doc.Pointer().Hold(0);
  state.counters["x_full"] = drag / full;
  // The share of the playfield the step recomposes: the floor for x_full when cels lie evenly.
  state.counters["area_share"] = 205.0 * 405.0 / (kMaxPlayfieldWidth * kMaxPlayfieldHeight);
}

void BM_MemcpyBaseline(benchmark::State& state) {
  const size_t bytes = Shared(false).Set.PixelCount + kMaxPlayfieldWidth * kMaxPlayfieldHeight;
  std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFull256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFullTrueColour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragRecompose)->Arg(0)->Arg(1)->ArgName("true_colour")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavro::bench

BENCHMARK_MAIN();
