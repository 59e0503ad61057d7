#include "gui/shell/SelectCnfDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

SelectCnfDialog::SelectCnfDialog(const QStringList& names, QWidget* parent)
    : QDialog(parent), NameList(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Select CNF File"));
  NameList->setSortingEnabled(false);
  NameList->addItems(names);
  if (NameList->count() > 0) NameList->setCurrentRow(0);
  NameList->setMinimumSize(110, 130);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &SelectCnfDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &SelectCnfDialog::reject);
  connect(NameList, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(NameList);
  layout->addLayout(buttons);
}

void SelectCnfDialog::accept() {
  // An empty list has nothing selected: the name stays empty rather than read from nowhere.
  QListWidgetItem* item = NameList->currentItem();
  chosenRow_ = (item != nullptr && item->isSelected()) ? NameList->row(item) : -1;
  QDialog::accept();
}

}  // namespace tavro
