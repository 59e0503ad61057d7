// The file a "sound(" action plays, opened so that the player can read it
// whatever bytes its name holds. Set names are bytes, often Shift_JIS, which a
// QString cannot carry back to the file system; such a file is opened here and
// handed to the player under the name of its descriptor, which is plain ASCII.
// The descriptor stays open while the object lives.
#pragma once

#include <QString>
#include <string>

namespace tavro {

class SoundFile {
 public:
  SoundFile() = default;
  ~SoundFile();
  SoundFile(const SoundFile &) = delete;
  SoundFile &operator=(const SoundFile &) = delete;

  // False when `path` is not a regular file that can be read.
  bool Open(const std::string &path);
  // The name the player opens; empty until Open succeeded.
  const QString &PlayerPath() const { return Path_; }
  // True when PlayerPath names the descriptor rather than the file itself.
  bool ThroughDescriptor() const { return Descriptor_ >= 0; }

 private:
  int Descriptor_ = -1;
  QString Path_;
};

}  // namespace tavro
