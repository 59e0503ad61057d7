#include "gui/shell/QtHost.h"

#include <QApplication>
#include <QMessageBox>
#include <QSoundEffect>
#include <QStringDecoder>
#include <QUrl>
#include <ctime>

#include "gui/shell/AppSettings.h"
#include "gui/shell/DocTemplate.h"
#include "gui/shell/SoundFile.h"
#include "gui/view/CTavroView.h"

namespace tavro {

QString DecodeForDisplay(const std::string& bytes) {
  const QByteArray raw = QByteArray::fromStdString(bytes);
  for (const char* encoding : {"UTF-8", "Shift_JIS"}) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) continue;
    QString text = decoder.decode(raw);
    if (!decoder.hasError()) return text;
  }
  return QString::fromLatin1(raw);
}

QtHost::QtHost(AppSettings& settings) : Settings_(settings) {}

// A box opened by an alarm's "debug(" runs its own event loop inside the alarm; the view's timer
// (single-shot, already fired) must be armed again so the other alarms go on meanwhile.
void QtHost::KeepAlarmsRunning() {
  if (View_) View_->ScheduleTimerPass();
}

QtHost::~QtHost() = default;

namespace {

// Texts come from the set (comments, "debug(" texts, file names): shown as written, never read
// as markup that could format them or make the box load files.
void SetBoxTexts(QMessageBox& box, const std::string& text, const std::string& caption) {
  box.setWindowTitle(caption.empty() ? kAppTitle : DecodeForDisplay(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(DecodeForDisplay(text));
}

}  // namespace

void QtHost::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
  if (Sink_) {
    Sink_({text, caption, icon});
    return;
  }
  QMessageBox box(Owner_);
  SetBoxTexts(box, text, caption);
  switch (icon) {
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
  box.setStandardButtons(QMessageBox::Ok);
  KeepAlarmsRunning();
  box.exec();
}

bool QtHost::AskYesNo(const std::string& text, const std::string& caption) {
  if (Questions_) return Questions_({text, caption, MessageIcon::Question});
  if (Sink_) {
    Sink_({text, caption, MessageIcon::Question});
    return true;
  }
  QMessageBox box(Owner_);
  SetBoxTexts(box, text, caption);
  box.setIcon(QMessageBox::Warning);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  KeepAlarmsRunning();
  return box.exec() == QMessageBox::Yes;
}

void QtHost::PlaySound(const std::string& path) {
  if (!Sound_) Sound_ = std::make_unique<QSoundEffect>();
  Sound_->stop();
  auto file = std::make_unique<SoundFile>();
  if (!file->Open(path)) return;
  // The player does not read a source again that equals its last one, and a descriptor's name
  // may come back for another file.
  if (file->ThroughDescriptor()) Sound_->setSource(QUrl());
  Sound_->setSource(QUrl::fromLocalFile(file->PlayerPath()));
  PlayingFile_ = std::move(file);
  Sound_->play();
}

bool QtHost::IsShiftDown() {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

uint32_t QtHost::TickCount() {
  const auto elapsed = std::chrono::steady_clock::now() - Start_;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

uint32_t QtHost::ClockSeconds() { return static_cast<uint32_t>(std::time(nullptr)); }

void QtHost::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtHost::EndWaitCursor() {
  if (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
}

bool QtHost::ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) {
  QStringList list;
  for (const std::string& name : names) list.append(DecodeForDisplay(name));
  // Whoever asks may have a wait cursor up; the list must not look busy.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  int row = -1;
  const bool ok = FileDialogs_->ChooseConfigFile(Owner_, list, row);
  QApplication::restoreOverrideCursor();
  // Names are shown decoded but handed back as the bytes the directory gave, by their row: two
  // names of different bytes may decode to the same text.
  const bool inList = row >= 0 && row < static_cast<int>(names.size());
  chosen = ok && inList ? names[static_cast<size_t>(row)] : std::string();
  return ok;
}

std::string QtHost::ProfileString(const std::string& section, const std::string& key) {
  if (section == "OPTION" && key == "TMPDIR") return Settings_.TmpDir();
  return {};
}

void QtHost::AddToRecentFiles(const std::string& path) {
  Settings_.AddRecentFile(path);
  if (RecentChanged_) RecentChanged_();
}

void QtHost::ShowDebugText(const std::string& text) {
  ShowMessage(text, std::string(), MessageIcon::Exclamation);
}

}  // namespace tavro
