#include "document/SetExport.h"

namespace tavro {

ZipExportResult ExportOpenSet(const CTavroDoc& doc, const std::string& output) {
  const std::string& folder = doc.Set().Path().SetDirectory;
  // A set read but not started yet lies in its folder all the same.
  if ((!doc.IsSetLoaded() && !doc.AwaitsStart()) || folder.empty()) {
    ZipExportResult result;
    result.Error = "no set is open";
    return result;
  }
  return ExportFolderZip(folder, output);
}

}  // namespace tavro
