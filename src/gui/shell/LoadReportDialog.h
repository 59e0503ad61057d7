// Help > "Load Report...": every problem the last load met, one a row, sortable by file, line
// and kind, with a button that copies the rows as text, one "FILE:LINE: kind: detail" a line.
#pragma once

#include <QDialog>
#include <QString>

#include "set/LoadProblems.h"

class QTableWidget;

namespace tavro {

class LoadReportDialog : public QDialog {
  Q_OBJECT

 public:
  enum Column { kFileColumn, kLineColumn, kKindColumn, kDetailColumn };

  // Shows a copy of `problems`, in line order until a column header is clicked.
  explicit LoadReportDialog(const LoadProblems& problems, QWidget* parent = nullptr);

  QTableWidget* Table() const { return Rows_; }
  // The rows in the order shown, as the Copy button puts them on the clipboard.
  QString Text() const;

 private:
  QTableWidget* Rows_;
};

// " (N load problems: Help > Load Report)" after a load that met any; "" otherwise.
QString LoadProblemsCaption(const LoadProblems& problems);

}  // namespace tavro
