// Loading one cel file into its CellEntry: header, size checks against the playfield, the
// object's extent, then the pixels. The file is read in two calls (header, pixel data), and only
// as many bytes as the cel's size calls for, however long the file is.
#include <algorithm>
#include <cstring>
#include <new>

#include "document/CTavroDoc.h"
#include "imagefiles/CelFormat.h"
#include "imagefiles/SetFileReader.h"
#include "platform/FileLookup.h"

namespace tavro {
namespace {

constexpr size_t kKeptReadBuffer = size_t{1} << 20;

std::string CelFileName(const CellEntry& cell) {
  return std::string(cell.FileName, strnlen(cell.FileName, sizeof cell.FileName));
}

void GrowExtent(ObjectEntry& object, const CelHeader& header) {
  // FitsPlayfield has bounded both ends by the playfield, so they fit 16 bits.
  const int16_t left = header.OffsetX;
  const int16_t top = header.OffsetY;
  const auto right = static_cast<int16_t>(header.OffsetX + header.Width);
  const auto bottom = static_cast<int16_t>(header.OffsetY + header.Height);
  if ((object.Flags & kHasExtent) == 0) {
    object.Flags |= kHasExtent;
    object.ExtentLeft = left;
    object.ExtentTop = top;
    object.ExtentRight = right;
    object.ExtentBottom = bottom;
    return;
  }
  object.ExtentLeft = std::min(object.ExtentLeft, left);
  object.ExtentTop = std::min(object.ExtentTop, top);
  object.ExtentRight = std::max(object.ExtentRight, right);
  object.ExtentBottom = std::max(object.ExtentBottom, bottom);
}

// A cel may start left of or above its object's origin, so its far edge alone does not bound
// its size; the size gets a bound of its own, the largest playfield, which is what keeps a
// hostile header from asking for gigabytes.
bool FitsPlayfield(const CelHeader& header, int32_t playfieldWidth, int32_t playfieldHeight) {
  if (header.Width > kMaxPlayfieldWidth || header.Height > kMaxPlayfieldHeight) return false;
  const int32_t right = header.OffsetX + header.Width;
  const int32_t bottom = header.OffsetY + header.Height;
  return right <= std::min(playfieldWidth, kMaxPlayfieldWidth) &&
         bottom <= std::min(playfieldHeight, kMaxPlayfieldHeight);
}

// Reads the pixel data that follows the header into `buffer`; a short file leaves the rest zero,
// which decodes as transparent pixels.
const uint8_t* ReadPixelData(const SetFileReader& file, const CelHeader& header, size_t need,
                             std::vector<uint8_t>& buffer) {
  if (buffer.size() < need) buffer.resize(need);
  const uint64_t available = file.Size() > header.HeaderSize ? file.Size() - header.HeaderSize : 0;
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(need, available));
  const size_t got = file.ReadAt(header.HeaderSize, buffer.data(), wanted);
  std::fill(buffer.begin() + static_cast<ptrdiff_t>(got),
            buffer.begin() + static_cast<ptrdiff_t>(need), uint8_t{0});
  return buffer.data();
}

}  // namespace

ObjectEntry* CTavroDoc::ObjectOfCel(const CellEntry& cell) {
  if (cell.ObjectNumber < 0 || cell.ObjectNumber >= kObjectNumberLimit) return nullptr;
  const uint16_t slot = SlotOf(cell.ObjectNumber);
  if (slot == 0 || slot >= ObjectTable.size()) return nullptr;
  ObjectEntry& object = ObjectTable[slot];
  if (object.Number < 0 || object.Number >= kObjectNumberLimit) return nullptr;
  return &object;
}

int32_t CTavroDoc::LoadCel(CellEntry& cell) {
  // Until the pixels are in, the cel belongs to no set, so a failure leaves it never drawn.
  const uint16_t setMask = cell.SetMask;
  std::vector<uint8_t>().swap(cell.Pixels);
  cell.SetMask = 0;

  ObjectEntry* object = ObjectOfCel(cell);
  if (object == nullptr) return kErrBadCell;

  const auto path = ResolveSetFile(SetDirectory, CelFileName(cell));
  SetFileReader file;
  if (!path || !file.Open(*path)) return kErrCelNotLoadable;

  uint8_t head[kCelNewHeaderSize];
  CelHeader header;
  const int32_t headerError = ReadCelHeader(head, file.ReadAt(0, head, sizeof head), header);
  // The 32-bit mark switches the document to true colour even if the cel then fails.
  if (header.TrueColourMark) TrueColourMode = 1;
  if (headerError != 0) return headerError;
  if (!FitsPlayfield(header, PlayfieldWidth, PlayfieldHeight)) return kErrTooLargeCell;

  GrowExtent(*object, header);
  try {
    std::vector<uint8_t> pixels(CelDecodedBytes(header.Width, header.Height, header.BitsPerPixel));
    const uint8_t* source = ReadPixelData(
        file, header, CelSourceBytes(header.Width, header.Height, header.BitsPerPixel),
        CelReadBuffer);
    UnpackCelPixels(source, header.Width, header.Height, header.BitsPerPixel,
                    PaletteBase[cell.PaletteNumber], pixels.data());
    cell.Pixels = std::move(pixels);
  } catch (const std::bad_alloc&) {
    return kErrNoMemory;
  }
  // Small cels are the common case; a buffer grown by one backdrop-sized cel is not kept.
  if (CelReadBuffer.capacity() > kKeptReadBuffer) std::vector<uint8_t>().swap(CelReadBuffer);
  ++LoadedCelCount;
  cell.Width = header.Width;
  cell.Height = header.Height;
  cell.OffsetX = header.OffsetX;
  cell.OffsetY = header.OffsetY;
  cell.BitsPerPixel = header.BitsPerPixel;
  cell.SetMask = setMask;
  return 0;
}

}  // namespace tavro
