#include "gui/shell/ZoomDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <limits>

namespace tavro {

std::optional<uint32_t> ParseUnsigned(const QString& text) {
  const QString digits = text.trimmed();
  if (digits.isEmpty()) return std::nullopt;
  uint64_t value = 0;
  for (const QChar c : digits) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    value =
        std::min<uint64_t>(value * 10 + (c.unicode() - '0'), std::numeric_limits<uint32_t>::max());
  }
  return static_cast<uint32_t>(value);
}

ZoomDialog::ZoomDialog(Refusal refuse, int factor, QWidget* parent)
    : QDialog(parent), TellRefusal_(std::move(refuse)), Edit_(new QLineEdit(this)), Value_(factor) {
  setWindowTitle(QStringLiteral("Zoom"));
  Edit_->setText(QString::number(factor));
  Edit_->selectAll();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ZoomDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ZoomDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Edit_);
  layout->addWidget(buttons);
}

void ZoomDialog::accept() {
  const std::optional<uint32_t> value = ParseUnsigned(Edit_->text());
  if (!value) return Refuse("Please enter an integer.");
  if (*value < kZoomDialogMin || *value > kZoomDialogMax) {
    return Refuse(QStringLiteral("Please enter an integer between %1 and %2.")
                      .arg(kZoomDialogMin)
                      .arg(kZoomDialogMax)
                      .toStdString());
  }
  Value_ = static_cast<int>(*value);
  QDialog::accept();
}

void ZoomDialog::Refuse(const std::string& message) {
  TellRefusal_(message);
  Edit_->setFocus();
  Edit_->selectAll();
}

}  // namespace tavro
