// Why a cel or palette file was refused, in the words of the load report. Called only when a file
// has already failed, so none of it costs anything on a load that goes well.
#pragma once

#include <optional>
#include <string>

#include "imagefiles/CelDecoder.h"
#include "imagefiles/PaletteDecoder.h"
#include "platform/FileLookup.h"

namespace tavro {

// `written` as the configuration names it: not found (and the names tried), or found at `found`
// but not readable.
std::string DescribeMissingFile(const std::string& written,
                                const std::optional<std::string>& found);
// Where a lookup found its file, if anywhere.
inline std::optional<std::string> FoundPath(const std::optional<SetFileMatch>& found) {
  return found ? std::optional<std::string>(found->Path) : std::nullopt;
}
// `written` found only as `converted`, its name in the other encoding.
std::string DescribeConvertedName(const std::string& written, const std::string& converted);
// The header field that refused a cel (see CelHeaderFault).
std::string DescribeCelHeaderFault(const CelHeader& header);
// The cel's size and offset against the playfield it had to fit.
std::string DescribeTooLargeCel(const CelHeader& header, const CelDecodeOptions& options);
// The header field that refused a palette file.
std::string DescribePaletteHeaderFault(const PaletteHeader& header);

}  // namespace tavro
