// The document framework's steps that archive opening calls. Placeholders until the load
// driver is in: no set is read.
#include <fstream>

#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::ResetForOpen() {}

bool CTavroDoc::RunOpenStep(const std::string& cnfPath) {
  std::ifstream file(cnfPath, std::ios::binary);
  return static_cast<bool>(file);
}

}  // namespace tavro
