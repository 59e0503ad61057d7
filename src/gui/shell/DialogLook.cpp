#include "gui/shell/DialogLook.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>

namespace tavro {
namespace {

class DialogLookFilter : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Polish) {
      if (auto* dialog = qobject_cast<QDialog*>(watched)) dialog->setPalette(DialogPalette());
    }
    return false;
  }
};

}  // namespace

QPalette DialogPalette() {
  const QColor grey(192, 192, 192);
  // The two-colour constructor derives the bevel shades from the face.
  QPalette look(grey, grey);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    look.setColor(role, Qt::black);
    look.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
  }
  look.setColor(QPalette::Base, Qt::white);
  look.setColor(QPalette::Disabled, QPalette::Base, grey);
  look.setColor(QPalette::AlternateBase, QColor(232, 232, 232));
  look.setColor(QPalette::Highlight, QColor(0, 0, 128));
  look.setColor(QPalette::HighlightedText, Qt::white);
  look.setColor(QPalette::PlaceholderText, QColor(128, 128, 128));
  look.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
  look.setColor(QPalette::ToolTipText, Qt::black);
  return look;
}

void ApplyDialogLook() {
  static DialogLookFilter* filter = nullptr;
  if (filter != nullptr) return;
  filter = new DialogLookFilter(qApp);
  qApp->installEventFilter(filter);
}

}  // namespace tavro
