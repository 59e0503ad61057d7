#include "imagefiles/ImageFileReport.h"

#include "platform/FileLookup.h"
#include "platform/NameBytes.h"
#include "set/LoadProblems.h"

namespace tavro {
namespace {

std::string Hex(unsigned value) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[(value >> 4) & 0x0F] + kDigits[value & 0x0F];
}

std::string Size(int32_t width, int32_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

std::string DescribeMissingFile(const std::string& written,
                                const std::optional<std::string>& found) {
  if (found)
    return QuotedName(written) + " is there as " + QuotedName(*found) + " but cannot be read";
  const std::vector<std::string> tried = SetFileNamesTried(written);
  if (tried.empty()) return "no file name is given";
  std::string detail = QuotedName(written) + " not found; tried ";
  for (size_t i = 0; i < tried.size(); ++i) {
    if (i > 0) detail += " and ";
    detail += QuotedName(tried[i]);
  }
  const std::vector<std::string> converted = ConvertedSetFileNames(written);
  for (size_t i = 0; i < converted.size(); ++i) {
    detail += i == 0 ? ", converted, " : " and ";
    detail += QuotedName(converted[i]);
  }
  // Sets were written where letter case does not matter, so every name is also tried without it.
  return detail + " in the set's folder, in any letter case";
}

std::string DescribeConvertedName(const std::string& written, const std::string& converted) {
  const bool toShiftJis = IsValidUtf8(written) && !IsValidUtf8(converted);
  return QuotedName(written) + " is there as " + QuotedName(converted) + ", its name converted " +
         (toShiftJis ? "from UTF-8 to Shift_JIS" : "from Shift_JIS to UTF-8");
}

std::string DescribeCelHeaderFault(const CelHeader& header) {
  switch (header.Fault) {
    case CelHeaderFault::Mark:
      return "mark " + Hex(header.Mark) + " is neither 0x20 (indexed) nor 0x21 (32-bit)";
    case CelHeaderFault::Depth:
      return std::to_string(header.BitsPerPixel) + " bits per pixel, not 4, 8 or 24";
    case CelHeaderFault::Width:
      return "width 0";
    case CelHeaderFault::Height:
      return "height 0";
    case CelHeaderFault::None:
      break;
  }
  return "bad header";
}

std::string DescribeTooLargeCel(const CelHeader& header, const CelDecodeOptions& options) {
  if (uint64_t{header.Width} * header.Height > kMaxCelPixels) {
    return Size(header.Width, header.Height) + " holds more pixels than a cel may, " +
           std::to_string(kMaxCelPixels);
  }
  const int32_t right = header.OffsetX + header.Width;
  const int32_t bottom = header.OffsetY + header.Height;
  return Size(header.Width, header.Height) + " at offset " + std::to_string(header.OffsetX) + "," +
         std::to_string(header.OffsetY) + " reaches " + std::to_string(right) + "," +
         std::to_string(bottom) + ", past the playfield of " +
         Size(options.PlayfieldWidth, options.PlayfieldHeight);
}

std::string DescribePaletteHeaderFault(const PaletteHeader& header) {
  switch (header.Fault) {
    case PaletteHeaderFault::Mark:
      return "mark " + Hex(header.Mark) + " is not 0x10";
    case PaletteHeaderFault::Depth:
      return "colour depth " + std::to_string(header.Depth) + ", not 12 or 24";
    case PaletteHeaderFault::Colours:
      return std::to_string(header.ColoursPerGroup) + " colours a group, more than 256";
    case PaletteHeaderFault::Groups:
      return std::to_string(header.Groups) + " colour groups, more than 10";
    case PaletteHeaderFault::None:
      break;
  }
  return "bad header";
}

}  // namespace tavro
