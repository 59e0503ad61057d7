// The Host of the window: message boxes, sound, keyboard state, clock, wait cursor, the
// configuration-file chooser, settings and the view's notifications, all done with Qt.
#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>

#include "gui/shell/FilePrompts.h"
#include "gui/view/CTavroView.h"
#include "platform/Host.h"

class QSoundEffect;

namespace tavro {

class AppSettings;
class SoundFile;

class QtHost : public Host {
 public:
  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
  };
  // Tests replace the modal boxes with this: messages are recorded, questions answered Yes.
  using MessageSink = std::function<void(const Message&)>;
  // Tests answer Yes/No questions with this (it takes precedence over the message sink).
  using QuestionSink = std::function<bool(const Message&)>;

  explicit QtHost(AppSettings& settings);
  ~QtHost() override;

  void SetView(CTavroView* view) { View = view; }
  void SetDialogOwner(QWidget* owner) { Owner = owner; }
  void SetMessageSink(MessageSink sink) { Sink = std::move(sink); }
  void SetQuestionSink(QuestionSink sink) { Questions = std::move(sink); }
  // The file dialogs: the real ones unless a test has put its own in.
  FilePrompts& Prompts() { return *FileDialogs; }
  void SetPrompts(std::unique_ptr<FilePrompts> prompts) { FileDialogs = std::move(prompts); }
  // Called after the recent-file list changed, so the File menu can follow.
  void SetRecentFilesChanged(std::function<void()> notify) { RecentChanged = std::move(notify); }

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void PlaySound(const std::string& path) override;
  bool IsShiftDown() override;
  uint32_t TickCount() override;
  uint32_t ClockSeconds() override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) override;
  std::string ProfileString(const std::string& section, const std::string& key) override;
  void AddToRecentFiles(const std::string& path) override;
  void InvalidateWholeView() override;
  void RepaintMapRect(const MapRect& rect) override;

 private:
  void KeepAlarmsRunning();

  AppSettings& Settings;
  QPointer<CTavroView> View;
  QPointer<QWidget> Owner;
  MessageSink Sink;
  QuestionSink Questions;
  std::unique_ptr<FilePrompts> FileDialogs = std::make_unique<DialogPrompts>();
  std::function<void()> RecentChanged;
  std::unique_ptr<SoundFile> PlayingFile;  // kept open while the player may still read it
  std::unique_ptr<QSoundEffect> Sound;     // made on first use: no audio device is touched before
  const std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
};

// Text from the core is bytes; shown as UTF-8 when it is valid UTF-8, else as Shift_JIS, else
// as Latin-1.
QString DecodeForDisplay(const std::string& bytes);

}  // namespace tavro
