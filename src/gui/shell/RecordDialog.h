// File > "Record Animation...": how long to record and where to write the animation.
#pragma once

#include <QDialog>
#include <cstdint>

class QDoubleSpinBox;
class QLineEdit;

namespace tavro {

class RecordDialog : public QDialog {
  Q_OBJECT

 public:
  RecordDialog(uint32_t lengthMs, const QString& path, QWidget* parent = nullptr);

  uint32_t LengthMs() const;
  // The file as typed; ".gif" is added when it names neither a GIF nor a WebP file.
  QString Path() const;

 private:
  void Browse();

  QDoubleSpinBox* Seconds;
  QLineEdit* File;
};

}  // namespace tavro
