#include "support/SetFiles.h"

#include <fstream>
#include <stdexcept>

namespace tavro::test {
namespace {

void Put16(Bytes& out, int value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutMagic(Bytes& out) {
  for (char c : std::string("MiVO")) out.push_back(static_cast<uint8_t>(c));
}

uint8_t ValueAt(const std::vector<uint8_t>& values, size_t i) {
  return i < values.size() ? values[i] : 0;
}

void Put4BitRows(Bytes& out, int width, int height, const std::vector<uint8_t>& values) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; x += 2) {
      const size_t i = static_cast<size_t>(y) * width + x;
      const uint8_t high = ValueAt(values, i) & 0x0F;
      const uint8_t low = (x + 1 < width) ? (ValueAt(values, i + 1) & 0x0F) : 0;
      out.push_back(static_cast<uint8_t>(high << 4 | low));
    }
  }
}

Rgb ColourAt(const std::vector<std::vector<Rgb>>& groups, size_t g, size_t i) {
  if (g < groups.size() && i < groups[g].size()) return groups[g][i];
  return {};
}

void Put12Bit(Bytes& out, Rgb c) {
  out.push_back(static_cast<uint8_t>((c.R & 0xF0) | (c.B >> 4)));
  out.push_back(static_cast<uint8_t>(c.G >> 4));
}

}  // namespace

void PrintTo(const Rgb& colour, std::ostream* os) {
  *os << "(" << int{colour.R} << "," << int{colour.G} << "," << int{colour.B} << ")";
}

Bytes EncodeOldCel(int width, int height, const std::vector<uint8_t>& values) {
  Bytes out;
  Put16(out, width);
  Put16(out, height);
  Put4BitRows(out, width, height, values);
  return out;
}

Bytes EncodeIndexedCel(int bitsPerPixel, int width, int height, int offsetX, int offsetY,
                       const std::vector<uint8_t>& values) {
  Bytes out;
  PutMagic(out);
  out.push_back(0x20);
  out.push_back(static_cast<uint8_t>(bitsPerPixel));
  Put16(out, 0);
  Put16(out, width);
  Put16(out, height);
  Put16(out, offsetX);
  Put16(out, offsetY);
  out.resize(32, 0);
  if (bitsPerPixel == 4) {
    Put4BitRows(out, width, height, values);
  } else {
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
      out.push_back(ValueAt(values, i));
  }
  return out;
}

Bytes EncodeTrueCel(int width, int height, int offsetX, int offsetY, const std::vector<Bgra>& px,
                    bool mark20) {
  Bytes out;
  PutMagic(out);
  out.push_back(mark20 ? 0x20 : 0x21);
  out.push_back(mark20 ? 24 : 32);
  Put16(out, 0);
  Put16(out, width);
  Put16(out, height);
  Put16(out, offsetX);
  Put16(out, offsetY);
  out.resize(32, 0);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    const Bgra p = i < px.size() ? px[i] : Bgra{};
    out.insert(out.end(), {p.B, p.G, p.R, p.A});
  }
  return out;
}

Bytes EncodeOldPalette(const std::vector<std::vector<Rgb>>& groups) {
  Bytes out;
  for (size_t g = 0; g < 10; ++g) {
    for (size_t i = 0; i < 16; ++i) Put12Bit(out, ColourAt(groups, g, i));
  }
  return out;
}

Bytes EncodeNewPalette(int depth, int colours, const std::vector<std::vector<Rgb>>& groups) {
  Bytes out;
  PutMagic(out);
  out.push_back(0x10);
  out.push_back(static_cast<uint8_t>(depth));
  Put16(out, 0);
  Put16(out, colours);
  Put16(out, static_cast<int>(groups.size()));
  out.resize(32, 0);
  for (size_t g = 0; g < groups.size(); ++g) {
    for (size_t i = 0; i < static_cast<size_t>(colours); ++i) {
      const Rgb c = ColourAt(groups, g, i);
      if (depth == 12) {
        Put12Bit(out, c);
      } else {
        out.insert(out.end(), {c.R, c.G, c.B});
      }
    }
  }
  return out;
}

void SetFiles::Write(const std::string& name, const Bytes& bytes) const {
  std::ofstream file(dir_ / name, std::ios::binary);
  if (!file) throw std::runtime_error("cannot write " + (dir_ / name).string());
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void SetFiles::WriteText(const std::string& name, const std::string& text) const {
  Write(name, Bytes(text.begin(), text.end()));
}

void SetFiles::OldPalette(const std::string& name,
                          const std::vector<std::vector<Rgb>>& groups) const {
  if (!groups.empty()) {
    Write(name, EncodeOldPalette(groups));
    return;
  }
  std::vector<Rgb> ramp;
  for (int i = 0; i < 16; ++i) {
    ramp.push_back({static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i * 16),
                    static_cast<uint8_t>(i * 8)});
  }
  Write(name, EncodeOldPalette(std::vector<std::vector<Rgb>>(10, ramp)));
}

void SetFiles::SolidCel(const std::string& name, int width, int height, uint8_t value) const {
  Write(name, EncodeOldCel(width, height,
                           std::vector<uint8_t>(static_cast<size_t>(width) * height, value)));
}

}  // namespace tavro::test
