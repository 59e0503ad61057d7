// Every command of the program as one QAction carrying its identifier, with the handler and the
// enabling and check rules registered by whoever implements it. A command that nobody handles is
// shown disabled, and its shortcut does nothing.
#pragma once

#include <QAction>
#include <QObject>
#include <functional>
#include <map>

namespace tavro {

class CommandTable : public QObject {
  Q_OBJECT

 public:
  using Rule = std::function<bool()>;

  explicit CommandTable(QObject* parent = nullptr);

  // Makes the action for `id` (once) and returns it; later calls return the same action.
  QAction* Define(int id, const QString& text);
  QAction* Action(int id) const;

  // `enabled` empty: always enabled while handled. `checked` empty: never checkable.
  void Handle(int id, std::function<void()> run, Rule enabled = {}, Rule checked = {});
  bool IsHandled(int id) const;
  // Runs `id` if it is handled and its rule allows it now, whatever state its action still
  // shows. False when it did not run.
  bool Execute(int id);

  // Evaluates every rule now.
  void UpdateActions();

 signals:
  // After a command has run, so the frame can refresh states as the idle update would.
  void CommandRan(int id);

 private:
  struct Entry {
    QAction* Action = nullptr;
    std::function<void()> Run;
    Rule Enabled;
    Rule Checked;
  };
  std::map<int, Entry> Entries_;
};

}  // namespace tavro
