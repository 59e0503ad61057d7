#include "gui/shell/DialogLook.h"

#include <QApplication>
#include <QPalette>

namespace tavro {

void ApplyDialogLook() {
  QPalette look = QApplication::palette();
  const QColor grey(192, 192, 192);
  look.setColor(QPalette::Window, grey);
  look.setColor(QPalette::Button, grey);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    look.setColor(role, Qt::black);
  }
  // Message boxes are dialogs, so one class name covers both.
  QApplication::setPalette(look, "QDialog");
}

}  // namespace tavro
