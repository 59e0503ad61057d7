// Hand-made pictures: a document's composed map is copied out, edited and handed back, as a test
// that paints pixels or breaks the map's form needs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "composition/ComposedMap.h"
#include "document/CTavroDoc.h"

namespace tavro::test {

template <typename Fn>
void EditMap(CTavroDoc& doc, Fn&& edit) {
  ComposedMap map = doc.Map();
  edit(map);
  doc.EditMap() = std::move(map);
}

// Every byte of the map, the spare one included, set to `value`.
inline void FillMap(CTavroDoc& doc, uint8_t value) {
  EditMap(doc, [value](ComposedMap& map) {
    std::fill_n(map.MutableBytes(), map.Bytes().size(), value);
  });
}

}  // namespace tavro::test
