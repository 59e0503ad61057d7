#include "gui/shell/OpenProgressDialog.h"

#include <QApplication>
#include <QEvent>
#include <QProgressDialog>
#include <QWindow>
#include <algorithm>

#include "gui/shell/DocTemplate.h"

namespace tavro {
namespace {

// Often enough to paint and to answer Cancel at once, seldom enough to cost the open nothing.
constexpr int kEventIntervalMs = 30;

// What a person does to a window; none of it may reach the document while it is being loaded.
bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

OpenProgressDialog::OpenProgressDialog(QWidget* owner, std::vector<const QObject*> heldTimers,
                                       std::function<void()> onShow, int delayMs)
    : owner_(owner),
      heldTimers_(std::move(heldTimers)),
      onShow_(std::move(onShow)),
      delayMs_(delayMs) {
  sinceStart_.start();
}

OpenProgressDialog::~OpenProgressDialog() {
  if (dialog_) qApp->removeEventFilter(this);
}

void OpenProgressDialog::MembersUnpacked(uint32_t count) {
  // How many members there are is not known until the last: the bar just shows it is busy.
  Step(QStringLiteral("Unpacking the archive: %1 files").arg(count), 0, 0);
}

void OpenProgressDialog::CelsLoaded(int32_t loaded, int32_t total) {
  total = std::max(total, loaded);
  Step(QStringLiteral("Loading cels: %1 of %2").arg(loaded).arg(total), loaded, total);
}

void OpenProgressDialog::Step(const QString& label, int value, int maximum) {
  if (cancelled_) return;
  if (!dialog_) {
    if (sinceStart_.elapsed() < delayMs_) return;
    Show();
  } else if (sinceEvents_.elapsed() < kEventIntervalMs) {
    return;
  }
  dialog_->setLabelText(label);
  dialog_->setRange(0, maximum);
  dialog_->setValue(value);
  QApplication::processEvents();
  sinceEvents_.restart();
}

void OpenProgressDialog::Show() {
  // Filter first: the events that showing the dialog lets through are held back as well.
  qApp->installEventFilter(this);
  if (onShow_) onShow_();
  dialog_ = std::make_unique<QProgressDialog>(owner_);
  dialog_->setWindowTitle(kAppTitle);
  dialog_->setWindowModality(Qt::ApplicationModal);
  dialog_->setAutoReset(false);
  dialog_->setAutoClose(false);
  dialog_->setMinimumDuration(0);
  dialog_->setMinimumWidth(320);
  connect(dialog_.get(), &QProgressDialog::canceled, this, [this] { cancelled_ = true; });
  // The wait cursor would hide that Cancel can be pressed.
  if (QApplication::overrideCursor() != nullptr) QApplication::changeOverrideCursor(Qt::BusyCursor);
  dialog_->show();
  sinceEvents_.start();
}

bool OpenProgressDialog::BelongsToDialog(QObject* watched) const {
  if (auto* widget = qobject_cast<QWidget*>(watched)) return widget->window() == dialog_.get();
  if (auto* window = qobject_cast<QWindow*>(watched)) return window == dialog_->windowHandle();
  return false;
}

bool OpenProgressDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Timer) {
    // Swallowed, a timer stays armed and fires again after the open.
    return std::find(heldTimers_.begin(), heldTimers_.end(), watched) != heldTimers_.end();
  }
  return IsInput(event->type()) && !BelongsToDialog(watched);
}

}  // namespace tavro
