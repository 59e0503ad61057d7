// The window's outside: clock, sound and settings for the core, the scripts' "debug(" texts shown
// in boxes, and the window's own prompts (message boxes, the Yes/No question, keyboard state, the
// wait cursor, the configuration-file chooser, the recent-file list), all done with Qt.
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

// None: a plain box with its text and an OK button, as the information and inspection boxes are.
enum class MessageIcon { Exclamation, Information, Question, None };

class QtHost : public Host, public ChangeNotices {
 public:
  struct Message {
    std::string Text;
    std::string Caption;
    MessageIcon Icon;
  };
  // Tests replace the modal boxes with this: messages are recorded, questions answered Yes.
  using MessageSink = std::function<void(const Message&)>;
  // Tests answer Yes/No questions with this (it takes precedence over the message sink).
  using QuestionSink = std::function<bool(const Message&)>;

  explicit QtHost(AppSettings& settings);
  ~QtHost() override;

  void SetView(CTavroView* view) { View_ = view; }
  void SetDialogOwner(QWidget* owner) { Owner_ = owner; }
  void SetMessageSink(MessageSink sink) { Sink_ = std::move(sink); }
  void SetQuestionSink(QuestionSink sink) { Questions_ = std::move(sink); }
  // The file dialogs: the real ones unless a test has put its own in.
  FilePrompts& Prompts() { return *FileDialogs_; }
  void SetPrompts(std::unique_ptr<FilePrompts> prompts) { FileDialogs_ = std::move(prompts); }
  // Called after the recent-file list changed, so the File menu can follow.
  void SetRecentFilesChanged(std::function<void()> notify) { RecentChanged_ = std::move(notify); }

  // ---- Host ----
  void PlaySound(const std::string& path) override;
  uint32_t TickCount() override;
  uint32_t ClockSeconds() override;
  std::string ProfileString(const std::string& section, const std::string& key) override;
  // ---- ChangeNotices: everything else the session returns to the view ----
  // A modal box with the exclamation icon, inside which the alarms keep running.
  void ShowDebugText(const std::string& text) override;

  // ---- the window's prompts ----
  // A modal message box with an OK button. An empty caption means the application title.
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon);
  // A modal Yes/No question with an exclamation icon; true for Yes.
  bool AskYesNo(const std::string& text, const std::string& caption);
  // Is the Shift key held down at this moment?
  bool IsShiftDown();
  void BeginWaitCursor();
  void EndWaitCursor();
  // Lets the user choose one of several configuration files (names in the order given).
  // Returns false when the choice was cancelled; on OK `chosen` holds the name of the row chosen
  // (empty when none was), as the bytes given: names that show alike stay apart.
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen);
  // Adds a path to the application's recent-file list.
  void AddToRecentFiles(const std::string& path);

 private:
  void KeepAlarmsRunning();

  AppSettings& Settings_;
  QPointer<CTavroView> View_;
  QPointer<QWidget> Owner_;
  MessageSink Sink_;
  QuestionSink Questions_;
  std::unique_ptr<FilePrompts> FileDialogs_ = std::make_unique<DialogPrompts>();
  std::function<void()> RecentChanged_;
  std::unique_ptr<SoundFile> PlayingFile_;  // kept open while the player may still read it
  std::unique_ptr<QSoundEffect> Sound_;     // made on first use: no audio device is touched before
  const std::chrono::steady_clock::time_point Start_ = std::chrono::steady_clock::now();
};

// Text from the core is bytes; shown as UTF-8 when it is valid UTF-8, else as Shift_JIS, else
// as Latin-1.
QString DecodeForDisplay(const std::string& bytes);

}  // namespace tavro
