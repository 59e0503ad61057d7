// Loading one cel file into its CellEntry: resolve the name, read the bytes the decoder will look
// at, decode, and attach the result to the cel and its object. Only as many bytes are read as
// the cel's size calls for, however long the file is, and into a buffer kept between cels (one
// for each thread that decodes).
//
// Finding, reading and decoding touch nothing of the set: they run on the worker threads from a
// copy of what the cel's line and the lines above it decided (the set's folder, the playfield and
// the palette base in force). Everything the set and the load report learn is recorded on the
// calling thread, one cel after another in line order.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "imagefiles/CelDecoder.h"
#include "imagefiles/ImageFileReport.h"
#include "imagefiles/SetImageFiles.h"
#include "platform/FileDoor.h"
#include "platform/FileLookup.h"

namespace tavro {
namespace {

constexpr size_t kKeptReadBuffer = size_t{1} << 20;
// Cels decoded ahead of the one recorded next, for each thread. Their pixels go into the set
// anyway, so running ahead costs no memory of its own; running far enough ahead keeps the
// calling thread decoding rather than waiting while the processor runs other programs' threads.
constexpr size_t kInFlightPerThread = 32;

std::string CelFileName(const CellEntry& cell) {
  return std::string(cell.FileName, strnlen(cell.FileName, sizeof cell.FileName));
}

// The cel's object must have a valid number and a record to take the cel's extent.
bool HasValidObject(const DollSet& set, const CellEntry& cell) {
  if (cell.ObjectNumber < 0 || cell.ObjectNumber >= kObjectNumberLimit) return false;
  const uint16_t slot = set.SlotOf(cell.ObjectNumber);
  if (slot == 0 || slot >= set.ObjectTable().size()) return false;
  const int16_t number = set.ObjectTable()[slot].Number;
  return number >= 0 && number < kObjectNumberLimit;
}

// The header first, then as much more as the decoder will read; a short file gives fewer bytes.
std::span<const uint8_t> ReadCelBytes(const ReadOnlyFile& file, const CelDecodeOptions& options,
                                      std::vector<uint8_t>& buffer) {
  if (buffer.size() < kCelNewHeaderSize) buffer.resize(kCelNewHeaderSize);
  size_t got = file.ReadAt(0, buffer.data(), kCelNewHeaderSize);
  const size_t wanted = CelFileBytesRead({buffer.data(), got}, options);
  if (got == kCelNewHeaderSize && wanted > got) {
    if (buffer.size() < wanted) buffer.resize(wanted);
    got += file.ReadAt(got, buffer.data() + got, wanted - got);
  }
  return {buffer.data(), std::min(got, wanted)};
}

// The report's words for a cel that failed with `error`.
std::string DescribeCelFailure(int32_t error, const std::string& file, const DecodedCel& decoded,
                               const CelDecodeOptions& options) {
  const std::string name = QuotedName(file) + ": ";
  switch (error) {
    case kErrBadCell:
      return name + DescribeCelHeaderFault(decoded.Header);
    case kErrTooLargeCell:
      return name + DescribeTooLargeCel(decoded.Header, options);
    default:
      return name + "no memory for its " + std::to_string(decoded.Header.Width) + "x" +
             std::to_string(decoded.Header.Height) + " pixels";
  }
}

ProblemKind KindOfCelFailure(int32_t error) {
  switch (error) {
    case kErrBadCell:
      return ProblemKind::BadCel;
    case kErrTooLargeCell:
      return ProblemKind::CelTooLarge;
    default:
      return ProblemKind::NoMemory;
  }
}

// What the cel's line and the lines above it decided, copied for a worker thread.
struct CelRequest {
  std::string Directory;
  std::string File;
  CelDecodeOptions Options;
};

}  // namespace

// What a worker found.
struct FetchedCel {
  int32_t Error = 0;
  bool Read = false;  // the file was found and opened, and its header read
  DecodedCel Decoded;
  std::vector<std::pair<ProblemKind, std::string>> Problems;
};

namespace {

void FetchCel(const CelRequest& request, std::vector<uint8_t>& buffer, FetchedCel& fetched) {
  const auto found = FindSetFile(request.Directory, request.File);
  ReadOnlyFile file;
  if (!found || !file.Open(found->Path)) {
    fetched.Error = kErrCelNotLoadable;
    fetched.Problems.emplace_back(ProblemKind::CelNotFound,
                                  DescribeMissingFile(request.File, FoundPath(found)));
    return;
  }
  if (!found->ConvertedName.empty()) {
    fetched.Problems.emplace_back(ProblemKind::ConvertedName,
                                  DescribeConvertedName(request.File, found->ConvertedName));
  }
  fetched.Decoded = DecodeCel(ReadCelBytes(file, request.Options, buffer), request.Options);
  fetched.Read = true;
  // Small cels are the common case; a buffer grown by one backdrop-sized cel is not kept.
  if (buffer.capacity() > kKeptReadBuffer) std::vector<uint8_t>().swap(buffer);
  fetched.Error = fetched.Decoded.Error;
  if (fetched.Error != 0) {
    fetched.Problems.emplace_back(
        KindOfCelFailure(fetched.Error),
        DescribeCelFailure(fetched.Error, request.File, fetched.Decoded, request.Options));
  }
}

}  // namespace

CelFileLoader::~CelFileLoader() = default;

int32_t CelFileLoader::Begin(DollSet& set, CellEntry& cell, LoadProblems& problems) {
  return Start(set, cell, set.CellCount(), nullptr, problems);
}

int32_t CelFileLoader::Load(DollSet& set, CellEntry& cell, bool& trueColourMark,
                            LoadProblems& problems) {
  int32_t error = Start(set, cell, 0, &cell, problems);
  Take(set, problems, true, [&](const CelOutcome& outcome) {
    error = outcome.Error;
    if (outcome.TrueColourMark) trueColourMark = true;
  });
  return error;
}

int32_t CelFileLoader::Start(DollSet& set, CellEntry& cell, int32_t index, CellEntry* direct,
                             LoadProblems& problems) {
  // Until the pixels are in, the cel belongs to no set, so a failure leaves it never drawn.
  const uint16_t setMask = cell.SetMask;
  std::vector<uint8_t>().swap(cell.Pixels);
  cell.SetMask = 0;

  if (!HasValidObject(set, cell)) {
    const bool saturated = cell.ObjectNumber == INT16_MAX;
    problems.Add(ProblemKind::BadCel,
                 QuotedName(CelFileName(cell)) + ": object number " +
                     std::to_string(cell.ObjectNumber) + (saturated ? " or more" : "") +
                     " is past the largest one, " + std::to_string(kObjectNumberLimit - 1));
    return kErrBadCell;
  }

  auto result = std::make_shared<FetchedCel>();
  auto job = std::make_shared<CelWorkers::Job>();
  job->Run = [request = CelRequest{set.Path().SetDirectory,
                                   CelFileName(cell),
                                   {set.PlayfieldWidth(), set.PlayfieldHeight(),
                                    set.Palettes().PaletteBase[cell.PaletteNumber]}},
              result](std::vector<uint8_t>& buffer) {
    try {
      FetchCel(request, buffer, *result);
    } catch (const std::bad_alloc&) {
      *result = {};
      result->Error = kErrNoMemory;
    }
  };
  if (!Workers_) Workers_ = std::make_unique<CelWorkers>();
  // A set of one cel starts no thread: the first cel is decoded here, before the second begins.
  if (++BegunThisLoad_ == 2 && direct == nullptr) {
    Threads_ = CelWorkers::ThreadsBeside();
    Workers_->Grow(Threads_);
  }
  Workers_->Submit(job);
  InFlight_.push_back(
      {index, direct, setMask, problems.HoldPlace(), std::move(job), std::move(result)});
  return 0;
}

void CelFileLoader::Take(DollSet& set, LoadProblems& problems, bool all, const OutcomeSink& sink) {
  const size_t inFlight =
      Threads_ == 0 ? 0 : kInFlightPerThread * static_cast<size_t>(Threads_ + 1);
  while (!InFlight_.empty()) {
    Pending& oldest = InFlight_.front();
    if (all || InFlight_.size() > inFlight) {
      Workers_->Wait(*oldest.Job, ReadBuffer_);
    } else if (!Workers_->IsDone(*oldest.Job)) {
      break;
    }
    Pending pending = std::move(oldest);
    InFlight_.pop_front();
    Record(set, problems, pending, sink);
  }
  if (all) {
    Workers_.reset();
    Threads_ = 0;
    BegunThisLoad_ = 0;
  }
}

void CelFileLoader::Record(DollSet& set, LoadProblems& problems, Pending& pending,
                           const OutcomeSink& sink) {
  FetchedCel& fetched = *pending.Result;
  const CelHeader& header = fetched.Decoded.Header;
  if (pending.Direct == nullptr && pending.Index >= set.CellCount()) {
    // The cel never joined the table (its tables were made anew): nothing to attach it to.
    sink({kErrCelNotLoadable, header.TrueColourMark});
    return;
  }
  const CellEntry& cell =
      pending.Direct != nullptr ? *pending.Direct : set.CellTable()[pending.Index];
  // A cel that fits but finds no memory has still widened its object, as it always has.
  // The decoder has bounded both ends by the playfield, so they fit 16 bits.
  if (fetched.Read && (fetched.Error == 0 || fetched.Error == kErrNoMemory)) {
    set.WidenExtent(cell, header.OffsetX, header.OffsetY,
                    static_cast<int16_t>(header.OffsetX + header.Width),
                    static_cast<int16_t>(header.OffsetY + header.Height));
  }
  for (auto& [kind, detail] : fetched.Problems)
    problems.AddAt(pending.Place, kind, std::move(detail));
  if (fetched.Error == 0) {
    if (pending.Direct != nullptr) {
      CellEntry& direct = *pending.Direct;
      direct.Pixels = std::move(fetched.Decoded.Pixels);
      direct.Width = header.Width;
      direct.Height = header.Height;
      direct.OffsetX = header.OffsetX;
      direct.OffsetY = header.OffsetY;
      direct.BitsPerPixel = header.BitsPerPixel;
      direct.SetMask = pending.SetMask;
    } else {
      set.FinishLoadedCel(pending.Index, std::move(fetched.Decoded.Pixels), header.Width,
                          header.Height, header.OffsetX, header.OffsetY, header.BitsPerPixel,
                          pending.SetMask);
    }
  }
  sink({fetched.Error, header.TrueColourMark});
}

}  // namespace tavro
