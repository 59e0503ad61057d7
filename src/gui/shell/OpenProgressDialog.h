// The window's side of a long open: after a short wait a progress dialog with a Cancel button,
// and the window kept painting while the open runs.
//
// The open runs on the window's own thread, so the window paints only when this object lets
// events through, at each step the open reports. Everything else those events could do to the
// document while it is half loaded is held back until the open ends: input to any window but the
// dialog (menus, shortcuts, keys, the mouse, drops, closing the frame) is dropped, and the
// timers named at construction (the script alarms) wait.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/OpenProgress.h"

class QProgressDialog;
class QWidget;

namespace tavro {

class OpenProgressDialog final : public QObject, public OpenProgress {
 public:
  static constexpr int kDefaultDelayMs = 500;

  // `owner`: the window the dialog belongs to. `heldTimers`: timers whose passes touch the
  // document. `onShow` runs once, just before the dialog first shows.
  OpenProgressDialog(QWidget* owner, std::vector<const QObject*> heldTimers,
                     std::function<void()> onShow, int delayMs = kDefaultDelayMs);
  ~OpenProgressDialog() override;
  OpenProgressDialog(const OpenProgressDialog&) = delete;
  OpenProgressDialog& operator=(const OpenProgressDialog&) = delete;

  void MembersUnpacked(uint32_t count) override;
  void CelsLoaded(int32_t loaded, int32_t total) override;
  bool Cancelled() const override { return cancelled_; }
  // Has the dialog been shown during this open?
  bool WasShown() const { return dialog_ != nullptr; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Step(const QString& label, int value, int maximum);
  void Show();
  bool BelongsToDialog(QObject* watched) const;

  QWidget* owner_;
  std::vector<const QObject*> heldTimers_;
  std::function<void()> onShow_;
  int delayMs_;
  QElapsedTimer sinceStart_;
  QElapsedTimer sinceEvents_;
  std::unique_ptr<QProgressDialog> dialog_;
  bool cancelled_ = false;
};

}  // namespace tavro
