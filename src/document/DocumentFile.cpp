#include "document/DocumentFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "document/CArchive.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Only a plain file is read: a directory cannot be, and a pipe or device could block the program
// or never end.
bool CheckReadableFile(const std::string& path, int64_t& length, std::string& error) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    error = "Cannot open " + Quoted(path) + ": " + (ec ? ec.message() : "no such file") + ".";
    return false;
  }
  if (!fs::is_regular_file(status)) {
    error = Quoted(path) + " is not a file.";
    return false;
  }
  const auto size = fs::file_size(path, ec);
  if (ec) {
    error = "Cannot read " + Quoted(path) + ": " + ec.message() + ".";
    return false;
  }
  if (size > static_cast<uintmax_t>(kMaxConfigFileBytes)) {
    error = Quoted(path) + " is too large to be a configuration file.";
    return false;
  }
  length = static_cast<int64_t>(size);
  return true;
}

}  // namespace

void SetPathFields(CTavroDoc& doc, const std::string& path) {
  std::error_code ec;
  fs::path full = fs::absolute(fs::path(path), ec);
  if (ec) full = fs::path(path);
  std::string directory = full.parent_path().string();
  if (directory.empty() || directory.back() != '/') directory += '/';
  doc.SetFilePath({directory, full.stem().string(), full.extension().string()});
}

bool OpenDocumentFile(CTavroDoc& doc, const std::string& path, std::string& error) {
  int64_t length = 0;
  if (!CheckReadableFile(path, length, error)) return false;
  std::ifstream input(path, std::ios::binary);
  if (!input) {
    error = "Cannot open " + Quoted(path) + ": " + std::strerror(errno) + ".";
    return false;
  }
  error.clear();
  SetPathFields(doc, path);
  doc.DeleteContents();
  CArchive archive(input, length);
  doc.Serialize(archive);
  return true;
}

}  // namespace tavro
