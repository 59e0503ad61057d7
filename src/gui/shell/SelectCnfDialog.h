// "Select CNF File": picks one configuration file out of an extracted archive. The names are
// listed in the order given (the directory's order), unsorted, the first one selected.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace tavro {

class SelectCnfDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SelectCnfDialog(const QStringList& names, QWidget* parent = nullptr);

  // Empty until OK or a double click; empty also after OK on an empty list.
  QString ChosenName() const { return Chosen; }
  QListWidget* List() const { return NameList; }

  void accept() override;

 private:
  QListWidget* NameList;
  QString Chosen;
};

}  // namespace tavro
