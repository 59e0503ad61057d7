#include "gui/shell/SoundFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace tavro {

SoundFile::~SoundFile() {
  if (Descriptor_ >= 0) ::close(Descriptor_);
}

bool SoundFile::Open(const std::string &path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const QString decoded = QFile::decodeName(QByteArray::fromStdString(path));
  if (QFile::encodeName(decoded).toStdString() == path) {
    Path_ = decoded;
    return true;
  }
  Descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (Descriptor_ < 0) return false;
  Path_ = QStringLiteral("/proc/self/fd/%1").arg(Descriptor_);
  return true;
}

}  // namespace tavro
