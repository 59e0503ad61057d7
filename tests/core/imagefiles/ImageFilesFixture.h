// A document with a set directory of its own, for loading cel and palette files by hand the way
// the configuration reader does.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/SetBuilder.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {

// The decoded pixels of an indexed cel, top row first again.
inline std::vector<uint8_t> TopDownRows(const std::vector<uint8_t>& pixels, int width, int height) {
  std::vector<uint8_t> out;
  for (int row = height - 1; row >= 0; --row) {
    const auto* begin = pixels.data() + static_cast<size_t>(row) * width;
    out.insert(out.end(), begin, begin + width);
  }
  return out;
}

class ImageFilesTest : public ::testing::Test {
 protected:
  ImageFilesTest() { build_.Directory(files_.Dir()); }

  // A cel entry as the cel-line parser leaves it: name, object (with its slot), palette, sets.
  CellEntry Cell(const std::string& name, int object = 0, uint8_t palette = 0,
                 uint16_t setMask = 0xFFFF) {
    CellEntry cell;
    std::strncpy(cell.FileName, name.c_str(), sizeof cell.FileName - 1);
    cell.ObjectNumber = static_cast<int16_t>(object);
    cell.PaletteNumber = palette;
    cell.SetMask = setMask;
    build_.Slot(object);
    return cell;
  }

  // Writes `bytes` as `name` and loads it as a cel of object 0; returns the load's error bit.
  int32_t Load(const std::string& name, const Bytes& bytes, CellEntry& cell) {
    files_.Write(name, bytes);
    cell = Cell(name);
    return LoadCel(cell);
  }

  // Loads `cell` as the loader does for each cel line, keeping what the document would learn.
  int32_t LoadCel(CellEntry& cell) {
    bool mark = false;
    const int32_t error = celFiles_.Load(doc_.EditSet(), cell, mark, problems_);
    trueColourMark_ = trueColourMark_ || mark;
    if (error == 0) ++loadedCels_;
    return error;
  }

  const ObjectEntry& Object(int number) {
    return doc_.Set().ObjectTable()[doc_.Set().SlotOf(number)];
  }

  static std::vector<uint8_t> TopDown(const CellEntry& cell) {
    return TopDownRows(cell.Pixels, cell.Width, cell.Height);
  }

  TempDir dir_;
  SetFiles files_{dir_.Path()};
  FakeHost host_;
  CTavroDoc doc_{host_};
  SetBuilder build_{doc_};
  CelFileLoader celFiles_;
  LoadProblems problems_;        // what the loads found, for tests that look
  bool trueColourMark_ = false;  // a cel file carried the 32-bit mark
  int32_t loadedCels_ = 0;       // cels that got pixels
};

}  // namespace tavro::test
