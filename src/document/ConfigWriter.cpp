// The storing side of Serialize: the configuration text with regenerated set lines.
#include "document/CArchive.h"
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::StoreConfig(CArchive& archive) {
  std::string text;
  WriteConfigText(text);
  archive.Write(text.data(), text.size());
}

}  // namespace tavro
