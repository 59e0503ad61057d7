// The About box: caption "TAVRO", the icon, three lines about the program and "Ok".
#pragma once

#include <QDialog>

namespace tavro {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tavro
