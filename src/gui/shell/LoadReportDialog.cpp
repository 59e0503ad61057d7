#include "gui/shell/LoadReportDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/shell/QtHost.h"

namespace tavro {
namespace {

QTableWidgetItem* TextItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

// Line numbers sort as numbers, not as text ("10" after "9").
QTableWidgetItem* LineItem(int32_t line) {
  auto* item = new QTableWidgetItem;
  item->setData(Qt::DisplayRole, line);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

QString Summary(const LoadProblems& problems) {
  const qsizetype count = static_cast<qsizetype>(problems.All().size());
  if (count == 0) return QStringLiteral("The last load met no problem.");
  return QStringLiteral("The last load met %1 problem%2:").arg(count).arg(count == 1 ? "" : "s");
}

}  // namespace

LoadReportDialog::LoadReportDialog(const LoadProblems& problems, QWidget* parent)
    : QDialog(parent), Rows_(new QTableWidget(this)) {
  setWindowTitle(QStringLiteral("Load Report"));
  Rows_->setColumnCount(4);
  Rows_->setHorizontalHeaderLabels({"File", "Line", "Kind", "Detail"});
  Rows_->setRowCount(static_cast<int>(problems.All().size()));
  int row = 0;
  for (const LoadProblem& problem : problems.All()) {
    // Names are bytes as the set wrote them; they are decoded only to be shown.
    Rows_->setItem(row, kFileColumn, TextItem(DecodeForDisplay(problem.File)));
    Rows_->setItem(row, kLineColumn, LineItem(problem.Line));
    Rows_->setItem(row, kKindColumn, TextItem(QString::fromLatin1(ProblemKindName(problem.Kind))));
    Rows_->setItem(row, kDetailColumn, TextItem(DecodeForDisplay(problem.Detail)));
    ++row;
  }
  Rows_->verticalHeader()->hide();
  Rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
  Rows_->setSortingEnabled(true);
  Rows_->sortByColumn(kLineColumn, Qt::AscendingOrder);
  Rows_->horizontalHeader()->setStretchLastSection(true);
  Rows_->resizeColumnsToContents();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
  connect(copy, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(Text()); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Summary(problems), this));
  layout->addWidget(Rows_);
  layout->addWidget(buttons);
  resize(760, 360);
}

QString LoadReportDialog::Text() const {
  QString text;
  for (int row = 0; row < Rows_->rowCount(); ++row) {
    text += Rows_->item(row, kFileColumn)->text() + QLatin1Char(':') +
            Rows_->item(row, kLineColumn)->text() + QStringLiteral(": ") +
            Rows_->item(row, kKindColumn)->text() + QStringLiteral(": ") +
            Rows_->item(row, kDetailColumn)->text() + QLatin1Char('\n');
  }
  return text;
}

QString LoadProblemsCaption(const LoadProblems& problems) {
  const qsizetype count = static_cast<qsizetype>(problems.All().size());
  if (count == 0) return QString();
  return QStringLiteral(" (%1 load problem%2: Help > Load Report)")
      .arg(count)
      .arg(count == 1 ? "" : "s");
}

}  // namespace tavro
