// File > "Record Animation...": how long to record and where to write the animation.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QDoubleSpinBox;
class QLineEdit;
class QPushButton;

namespace tavro {

// The file first offered for recording the set at `setPath` (bytes): beside it, under its name
// as the title bar shows it (a Shift_JIS name decoded), with ".gif". The folder stays as Qt shows
// it, which PathFromShown leads back to its bytes.
QString SuggestedRecordingPath(const std::string& setPath);

// The note after a recording: how long, where (`path`, bytes) and how large the file came out.
// The folder and the name are decoded each on its own: a Shift_JIS folder may hold a file named
// in UTF-8.
QString RecordingWrittenNote(const std::string& path, uint32_t recordedMs, uint64_t bytes);

class RecordDialog : public QDialog {
  Q_OBJECT

 public:
  RecordDialog(uint32_t lengthMs, const QString& path, QWidget* parent = nullptr);

  uint32_t LengthMs() const;
  // The file as typed; ".gif" is added when it names neither a GIF nor a WebP file.
  QString Path() const;

 private:
  void Browse();

  QDoubleSpinBox* Seconds_;
  QLineEdit* File_;
  QPushButton* Ok_;  // off while the file box is empty
};

}  // namespace tavro
