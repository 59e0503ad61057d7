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

  // The row chosen: -1 until OK or a double click, and after OK with nothing selected. The row,
  // not the text, says which name it was: two names may read alike.
  int ChosenRow() const { return chosenRow_; }
  QListWidget* List() const { return NameList_; }

  void accept() override;

 private:
  QListWidget* NameList_;
  int chosenRow_ = -1;
};

}  // namespace tavro
