// File Save and Save As: when the overwrite must be confirmed, and a write that never leaves half
// a file behind.
#include <cstring>
#include <string>

#include "document/CTavroDoc.h"
#include "document/ConfigTextWriter.h"
#include "platform/FileDoor.h"

namespace tavro {
namespace {

std::string Failure(ReplaceStep step, const std::string& path, int code) {
  const char* what =
      step == ReplaceStep::CreateBeside ? "cannot create a file beside" : "cannot write";
  return std::string(what) + " " + path + ": " + std::strerror(code);
}

}  // namespace

bool CTavroDoc::CanSave() const { return SetLoaded_ && Session_.SavingAllowed(); }

bool CTavroDoc::MustConfirmOverwrite(const std::string& pathName) const {
  return !pathName.empty() && IsReadable(pathName) && !IsReadOnly(pathName);
}

SaveResult CTavroDoc::OnSaveDocument(const std::string& path, bool overwriteConfirmed) {
  SaveResult result;
  if (!overwriteConfirmed && MustConfirmOverwrite(path)) {
    result.NotConfirmed = true;
    return result;
  }
  result.Saved = SaveConfigFile(path, result.Error);
  return result;
}

bool CTavroDoc::SaveConfigFile(const std::string& path, std::string& error) {
  // The whole text is made before the file is touched: the set events it raises may take a while.
  std::string text;
  // Makes the shown positions permanent: the first switch stores them into the shown set, the
  // second returns to it and stores set `set` as the first one loaded it.
  WriteConfigText(TheSet_, text, [this](int32_t set) {
    const int32_t shown = TheSet_.CurrentSet();
    ApplySet(set);
    ApplySet(shown);
  });
  // The file a save really replaces: a link is followed, so the link stays a link.
  const std::string target = ResolveLinks(path);
  ReplaceStep step = ReplaceStep::None;
  int code = 0;
  if (ReplaceFile(target, text, step, code)) return true;
  error = Failure(step, target, code);
  return false;
}

}  // namespace tavro
