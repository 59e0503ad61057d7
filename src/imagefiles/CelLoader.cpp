// Loading one cel file into its CellEntry: resolve the name, read the bytes the decoder will look
// at, decode, and attach the result to the cel and its object. Only as many bytes are read as
// the cel's size calls for, however long the file is, and into a buffer kept between cels.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "imagefiles/CelDecoder.h"
#include "imagefiles/ImageFileReport.h"
#include "imagefiles/SetImageFiles.h"
#include "platform/FileDoor.h"
#include "platform/FileLookup.h"

namespace tavro {
namespace {

constexpr size_t kKeptReadBuffer = size_t{1} << 20;

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
std::string DescribeCelFailure(int32_t error, const CellEntry& cell, const DecodedCel& decoded,
                               const CelDecodeOptions& options) {
  const std::string name = QuotedName(CelFileName(cell)) + ": ";
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

}  // namespace

int32_t CelFileLoader::Load(DollSet& set, CellEntry& cell, bool& trueColourMark,
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

  const auto found = FindSetFile(set.Path().SetDirectory, CelFileName(cell));
  ReadOnlyFile file;
  if (!found || !file.Open(found->Path)) {
    problems.Add(ProblemKind::CelNotFound,
                 DescribeMissingFile(CelFileName(cell), FoundPath(found)));
    return kErrCelNotLoadable;
  }
  if (!found->ConvertedName.empty()) {
    problems.Add(ProblemKind::ConvertedName,
                 DescribeConvertedName(CelFileName(cell), found->ConvertedName));
  }

  const CelDecodeOptions options{set.PlayfieldWidth(), set.PlayfieldHeight(),
                                 set.Palettes().PaletteBase[cell.PaletteNumber]};
  DecodedCel decoded = DecodeCel(ReadCelBytes(file, options, ReadBuffer), options);
  // Small cels are the common case; a buffer grown by one backdrop-sized cel is not kept.
  if (ReadBuffer.capacity() > kKeptReadBuffer) std::vector<uint8_t>().swap(ReadBuffer);
  const CelHeader& header = decoded.Header;
  if (header.TrueColourMark) trueColourMark = true;
  // A cel that fits but finds no memory has still widened its object, as it always has.
  // The decoder has bounded both ends by the playfield, so they fit 16 bits.
  if (decoded.Error == 0 || decoded.Error == kErrNoMemory) {
    set.WidenExtent(cell, header.OffsetX, header.OffsetY,
                    static_cast<int16_t>(header.OffsetX + header.Width),
                    static_cast<int16_t>(header.OffsetY + header.Height));
  }
  if (decoded.Error != 0) {
    problems.Add(KindOfCelFailure(decoded.Error),
                 DescribeCelFailure(decoded.Error, cell, decoded, options));
    return decoded.Error;
  }

  cell.Pixels = std::move(decoded.Pixels);
  cell.Width = header.Width;
  cell.Height = header.Height;
  cell.OffsetX = header.OffsetX;
  cell.OffsetY = header.OffsetY;
  cell.BitsPerPixel = header.BitsPerPixel;
  cell.SetMask = setMask;
  return 0;
}

}  // namespace tavro
