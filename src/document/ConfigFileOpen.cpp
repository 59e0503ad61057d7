// The open step shared by the window and tavro-render: one configuration file read whole through
// the file door, the document emptied, and the configuration loaded from the bytes.
#include <cstring>

#include "document/CTavroDoc.h"
#include "platform/FileDoor.h"
#include "platform/NameBytes.h"

namespace tavro {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Why the file could not be read, as the user reads it; "" when it was read or merely cut short
// (which loads nothing, without a word).
std::string OpenFailure(const WholeFile& file, const std::string& path) {
  switch (file.Failure) {
    case WholeFileFailure::CannotOpen:
      return "Cannot open " + Quoted(path) + ": " + std::strerror(file.Error) + ".";
    case WholeFileFailure::NotAFile:
      return Quoted(path) + " is not a file.";
    case WholeFileFailure::TooLarge:
      return Quoted(path) + " is too large to be a configuration file.";
    case WholeFileFailure::None:
    case WholeFileFailure::CutShort:
      break;
  }
  return "";
}

}  // namespace

void CTavroDoc::UseSetPath(const std::string& path) {
  const PathParts parts = SplitPath(path);
  TheSet_.SetFilePath({parts.Folder, parts.Base, parts.Extension});
}

bool CTavroDoc::OpenConfigFile(const std::string& path, std::string& error) {
  WholeFile file = ReadWholeFile(path, kMaxConfigFileBytes);
  error = OpenFailure(file, path);
  if (!error.empty()) return false;
  UseSetPath(AbsolutePath(path));
  DeleteContents();
  if (file.Failure == WholeFileFailure::CutShort) {
    LoadConfig(std::nullopt);
  } else {
    LoadConfig(std::move(file.Bytes));
  }
  return true;
}

// A file that cannot be read is reported here, where the open began.
bool CTavroDoc::OpenStep(const std::string& path) {
  std::string error;
  if (OpenConfigFile(path, error)) return true;
  Tell(error);
  return false;
}

}  // namespace tavro
