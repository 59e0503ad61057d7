// Loading a set's cel and palette files into it: resolve the name in the set's folder, read the
// bytes through the file door, decode, and attach the result to the set.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "imagefiles/CelWorkers.h"
#include "set/DollSet.h"
#include "set/LoadProblems.h"

namespace tavro {

// What a worker found in one cel file (CelLoader.cpp).
struct FetchedCel;

// What loading one cel came to, as the load adds it up.
struct CelOutcome {
  int32_t Error = 0;            // one LoadErrors bit, or 0 when the cel got its pixels
  bool TrueColourMark = false;  // the file carries the 32-bit mark, even if the cel then failed
};

// Loads cel files as their lines are read. The files are found, read and decoded on the pool
// of CelWorkers (from the second cel of a load on, so a set of one cel starts no thread), and
// taken in line order: each cel's pixels, its object's extent and its problems are recorded on
// the calling thread exactly as they would be had each cel loaded while its line was read.
class CelFileLoader {
 public:
  using OutcomeSink = std::function<void(const CelOutcome&)>;

  ~CelFileLoader();

  // Begins loading the cel file of `cell`, which joins the set's table next, at index
  // CellCount(), before Take is called again; returns the LoadErrors bit of a cel refused at once,
  // else 0 (its outcome comes through Take). Until its pixels are in, the cel belongs to no set.
  int32_t Begin(DollSet& set, CellEntry& cell, LoadProblems& problems);
  // Records the outcome of begun cels, in the order begun, into the set's table and `problems`,
  // and hands each to `sink`: those done already, and as many more as keep the cels in flight
  // few; with `all`, every one, after which no thread is left running.
  void Take(DollSet& set, LoadProblems& problems, bool all, const OutcomeSink& sink);

  // Begin and Take(all) for one cel that is not in the table: decodes the cel file of `cell` into
  // it on this thread and widens its object's extent in `set`; returns one LoadErrors bit or 0.
  // `trueColourMark` becomes true when the file carries the 32-bit mark.
  int32_t Load(DollSet& set, CellEntry& cell, bool& trueColourMark, LoadProblems& problems);

  // Bytes the calling thread's kept read buffer holds now.
  size_t BufferSize() const { return ReadBuffer_.size(); }

 private:
  struct Pending {
    int32_t Index = 0;            // in the set's table
    CellEntry* Direct = nullptr;  // or this cel, outside the table
    uint16_t SetMask = 0;         // the sets the cel joins once it has its pixels
    LoadProblems::Place Place;
    std::shared_ptr<CelWorkers::Job> Job;
    std::shared_ptr<FetchedCel> Result;
  };
  int32_t Start(DollSet& set, CellEntry& cell, int32_t index, CellEntry* direct,
                LoadProblems& problems);
  void Record(DollSet& set, LoadProblems& problems, Pending& pending, const OutcomeSink& sink);

  std::vector<uint8_t> ReadBuffer_;
  std::deque<Pending> InFlight_;
  std::unique_ptr<CelWorkers> Workers_;
  int32_t Threads_ = 0;  // beside the calling one
  int32_t BegunThisLoad_ = 0;
};

// Reads palette file `name` into `set` as palette `number`; 0 read, 1 not found (the caller
// tells the user), 2 bad header. Why it failed goes to `problems`.
int32_t LoadPaletteFile(DollSet& set, const char* name, int32_t number, LoadProblems& problems);

}  // namespace tavro
