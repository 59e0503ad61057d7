#include "gui/shell/SelectCnfDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

SelectCnfDialog::SelectCnfDialog(const QStringList& names, QWidget* parent)
    : QDialog(parent), NameList_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Select CNF File"));
  NameList_->setSortingEnabled(false);
  NameList_->addItems(names);
  if (NameList_->count() > 0) NameList_->setCurrentRow(0);
  NameList_->setMinimumSize(110, 130);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &SelectCnfDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &SelectCnfDialog::reject);
  connect(NameList_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(NameList_);
  layout->addLayout(buttons);
}

void SelectCnfDialog::accept() {
  // An empty list has nothing selected: the name stays empty rather than read from nowhere.
  QListWidgetItem* item = NameList_->currentItem();
  chosenRow_ = (item != nullptr && item->isSelected()) ? NameList_->row(item) : -1;
  QDialog::accept();
}

}  // namespace tavro
