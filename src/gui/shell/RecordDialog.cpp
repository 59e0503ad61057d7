#include "gui/shell/RecordDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cmath>

#include "gui/shell/FilePrompts.h"
#include "gui/shell/LocalPaths.h"
#include "platform/NameBytes.h"
#include "recording/Recorder.h"

namespace tavro {

QString SuggestedRecordingPath(const std::string& setPath) {
  const PathParts parts = SplitPath(setPath);
  return QFile::decodeName(QByteArray::fromStdString(parts.Folder)) + ShownPath(parts.Base) +
         QStringLiteral(".gif");
}

QString RecordingWrittenNote(const std::string& path, uint32_t recordedMs, uint64_t bytes) {
  const PathParts parts = SplitPath(path);
  return QStringLiteral("Recorded %1 s into %2 (%3 bytes).")
      .arg(recordedMs / 1000.0, 0, 'f', 1)
      .arg(ShownPath(parts.Folder) + ShownPath(parts.Name))
      .arg(QLocale::c().toString(static_cast<qulonglong>(bytes)));
}

RecordDialog::RecordDialog(uint32_t lengthMs, const QString& path, QWidget* parent)
    : QDialog(parent), Seconds_(new QDoubleSpinBox(this)), File_(new QLineEdit(path, this)) {
  setWindowTitle(QStringLiteral("Record Animation"));
  Seconds_->setDecimals(1);
  Seconds_->setRange(0.1, kMaxRecordingMs / 1000.0);
  Seconds_->setSuffix(QStringLiteral(" s"));
  Seconds_->setValue(lengthMs / 1000.0);
  File_->setMinimumWidth(320);
  auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
  connect(browse, &QPushButton::clicked, this, &RecordDialog::Browse);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(File_);
  fileRow->addWidget(browse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  Ok_ = buttons->button(QDialogButtonBox::Ok);
  auto enableOk = [this] { Ok_->setEnabled(!File_->text().trimmed().isEmpty()); };
  connect(File_, &QLineEdit::textChanged, this, enableOk);
  enableOk();
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("&Length:"), Seconds_);
  // A label of a row that is a layout finds no buddy by itself.
  auto* fileLabel = new QLabel(QStringLiteral("&File:"), this);
  fileLabel->setBuddy(File_);
  form->addRow(fileLabel, fileRow);
  form->addRow(buttons);
}

uint32_t RecordDialog::LengthMs() const {
  return static_cast<uint32_t>(std::lround(Seconds_->value() * 1000));
}

QString RecordDialog::Path() const {
  QString path = File_->text();
  if (!path.isEmpty() && !path.endsWith(QStringLiteral(".gif"), Qt::CaseInsensitive) &&
      !path.endsWith(QStringLiteral(".webp"), Qt::CaseInsensitive)) {
    path += QStringLiteral(".gif");
  }
  return path;
}

void RecordDialog::Browse() {
  const QString chosen =
      QFileDialog::getSaveFileName(this, QStringLiteral("Record Animation"), File_->text(),
                                   QStringLiteral("Animated GIF (*.gif);;Animated WebP (*.webp)"));
  if (!chosen.isEmpty()) File_->setText(chosen);
}

bool DialogPrompts::PromptRecording(QWidget* owner, uint32_t& lengthMs, QString& path) {
  RecordDialog dialog(lengthMs, path, owner);
  if (dialog.exec() != QDialog::Accepted || dialog.Path().isEmpty()) return false;
  lengthMs = dialog.LengthMs();
  path = dialog.Path();
  return true;
}

}  // namespace tavro
