#include "gui/shell/AboutDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/shell/ToolbarImages.h"

namespace tavro {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("TAVRO"));
  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(32, 32));
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  const char* const lines[] = {"TAVRO32 Version " TAVRO_VERSION_TEXT, "Mivo doll set viewer",
                               "for Linux desktops"};
  for (int row = 0; row < 3; ++row) {
    auto* text = new QLabel(QString::fromUtf8(lines[row]), this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text, row, 1);
  }
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 3, 1, Qt::AlignHCenter);
}

}  // namespace tavro
