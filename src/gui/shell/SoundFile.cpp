#include "gui/shell/SoundFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace tavro {

SoundFile::~SoundFile() {
  if (Descriptor >= 0) ::close(Descriptor);
}

bool SoundFile::Open(const std::string &path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const QString decoded = QFile::decodeName(QByteArray::fromStdString(path));
  if (QFile::encodeName(decoded).toStdString() == path) {
    Path = decoded;
    return true;
  }
  Descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (Descriptor < 0) return false;
  Path = QStringLiteral("/proc/self/fd/%1").arg(Descriptor);
  return true;
}

}  // namespace tavro
