// Builders for the files of a doll set, so tests read like the sets they describe.
//
// Pixel values are given top row first, left to right, as a person draws them; the encoders
// write the file formats (old and new cel forms, old and new palette forms) byte for byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace tavro::test {

struct Rgb {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const Rgb&) const = default;
};
// Lets test failures show colours as (r,g,b).
void PrintTo(const Rgb& colour, std::ostream* os);

using Bytes = std::vector<uint8_t>;

// Old-form cel: width, height, then 4-bit pixels (high nibble first, rows of ceil(w/2) bytes).
Bytes EncodeOldCel(int width, int height, const std::vector<uint8_t>& values);
// New-form indexed cel ("MiVO", mark 0x20) with 4 or 8 bits a pixel and an offset.
Bytes EncodeIndexedCel(int bitsPerPixel, int width, int height, int offsetX, int offsetY,
                       const std::vector<uint8_t>& values);
// New-form 32-bit cel (mark 0x21, or mark 0x20 with depth byte 24 when `mark20` is set): pixels
// as blue, green, red, alpha.
struct Bgra {
  uint8_t B = 0, G = 0, R = 0, A = 0;
};
Bytes EncodeTrueCel(int width, int height, int offsetX, int offsetY, const std::vector<Bgra>& px,
                    bool mark20 = false);

// Old-form palette: ten groups of 16 colours in 12-bit layout. `groups[g][i]`; missing groups
// or colours are black. Each 8-bit channel is reduced to its high nibble.
Bytes EncodeOldPalette(const std::vector<std::vector<Rgb>>& groups);
// New-form palette ("MiVO", mark 0x10) of depth 12 or 24 with `colours` per group.
Bytes EncodeNewPalette(int depth, int colours, const std::vector<std::vector<Rgb>>& groups);

// Writes files into a directory (usually a TempDir).
class SetFiles {
 public:
  explicit SetFiles(std::filesystem::path directory) : dir_(std::move(directory)) {}

  void Write(const std::string& name, const Bytes& bytes) const;
  void WriteText(const std::string& name, const std::string& text) const;
  std::filesystem::path Path(const std::string& name) const { return dir_ / name; }
  std::string Dir() const { return dir_.string() + "/"; }

  // A 16-colour palette whose colour i is (i*16, 255-i*16, i*8) in every group, unless given.
  void OldPalette(const std::string& name, const std::vector<std::vector<Rgb>>& groups = {}) const;
  // A solid w x h old-form cel filled with `value`.
  void SolidCel(const std::string& name, int width, int height, uint8_t value) const;

 private:
  std::filesystem::path dir_;
};

}  // namespace tavro::test
