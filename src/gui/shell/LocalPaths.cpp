#include "gui/shell/LocalPaths.h"

#include <sys/stat.h>

#include <QFile>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "gui/shell/QtHost.h"
#include "platform/Directory.h"

namespace tavro {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// The entry of `directory` that Qt would show as `shown`, if there is one.
std::string FindShownEntry(const std::string& directory, const QString& shown) {
  std::string found;
  ForEachEntry(directory, [&](const DirectoryEntry& entry) {
    const std::string name(entry.Name());
    if (QFile::decodeName(name.c_str()) != shown) return true;
    found = name;
    return false;
  });
  return found;
}

}  // namespace

std::string FullPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path full = fs::absolute(fs::path(path), error);
  if (error) full = fs::path(path);
  std::string cleaned = full.lexically_normal().string();
  if (cleaned.size() > 1 && cleaned.back() == '/') cleaned.pop_back();
  return cleaned;
}

std::string PathFromShown(const QString& shown) {
  const std::string encoded = QFile::encodeName(shown).toStdString();
  if (encoded.empty() || Exists(encoded) || !shown.contains(QChar::ReplacementCharacter)) {
    return encoded;
  }
  const bool absolute = shown.startsWith(QLatin1Char('/'));
  std::string path = absolute ? "/" : "";
  for (const QString& part : shown.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    std::string name = QFile::encodeName(part).toStdString();
    if (part.contains(QChar::ReplacementCharacter) && !Exists(path + name)) {
      const std::string found = FindShownEntry(path.empty() ? "." : path, part);
      if (!found.empty()) name = found;
    }
    path += name + "/";
  }
  if (path.size() > 1) path.pop_back();
  return path;
}

std::string PathFromFileUrl(const QUrl& url) {
  if (!url.isLocalFile()) return {};
  // The encoded form keeps escapes of bytes that are not UTF-8, which a decoded QString loses.
  const QByteArray escaped = url.path(QUrl::FullyEncoded).toLatin1();
  return QByteArray::fromPercentEncoding(escaped).toStdString();
}

QString ShownPath(const std::string& path) { return DecodeForDisplay(path); }

}  // namespace tavro
