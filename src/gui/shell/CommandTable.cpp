#include "gui/shell/CommandTable.h"

namespace tavro {

CommandTable::CommandTable(QObject* parent) : QObject(parent) {}

QAction* CommandTable::Define(int id, const QString& text) {
  Entry& entry = Entries_[id];
  if (entry.Action == nullptr) {
    entry.Action = new QAction(text, this);
    entry.Action->setData(id);
    entry.Action->setEnabled(false);
    // A shortcut can fire between two state updates; the rule is asked again when it runs.
    connect(entry.Action, &QAction::triggered, this, [this, id] { Execute(id); });
  }
  if (!text.isEmpty()) entry.Action->setText(text);
  return entry.Action;
}

QAction* CommandTable::Action(int id) const {
  auto it = Entries_.find(id);
  return it == Entries_.end() ? nullptr : it->second.Action;
}

void CommandTable::Handle(int id, std::function<void()> run, Rule enabled, Rule checked) {
  Entry& entry = Entries_[id];
  if (entry.Action == nullptr) Define(id, QString());
  entry.Run = std::move(run);
  entry.Enabled = std::move(enabled);
  entry.Checked = std::move(checked);
  entry.Action->setCheckable(static_cast<bool>(entry.Checked));
}

bool CommandTable::IsHandled(int id) const {
  auto it = Entries_.find(id);
  return it != Entries_.end() && static_cast<bool>(it->second.Run);
}

bool CommandTable::Execute(int id) {
  auto it = Entries_.find(id);
  if (it == Entries_.end() || !it->second.Run) return false;
  if (it->second.Enabled && !it->second.Enabled()) return false;
  it->second.Run();
  emit CommandRan(id);
  return true;
}

void CommandTable::UpdateActions() {
  for (auto& [id, entry] : Entries_) {
    const bool enabled = entry.Run && (!entry.Enabled || entry.Enabled());
    entry.Action->setEnabled(enabled);
    if (entry.Checked) entry.Action->setChecked(entry.Checked());
  }
}

}  // namespace tavro
