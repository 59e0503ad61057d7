#include "gui/shell/CommandTable.h"

namespace tavro {

CommandTable::CommandTable(QObject* parent) : QObject(parent) {}

QAction* CommandTable::Define(int id, const QString& text) {
  Entry& entry = Entries[id];
  if (entry.action == nullptr) {
    entry.action = new QAction(text, this);
    entry.action->setData(id);
    entry.action->setEnabled(false);
    // A shortcut can fire between two state updates; the rule is asked again when it runs.
    connect(entry.action, &QAction::triggered, this, [this, id] { Execute(id); });
  }
  if (!text.isEmpty()) entry.action->setText(text);
  return entry.action;
}

QAction* CommandTable::Action(int id) const {
  auto it = Entries.find(id);
  return it == Entries.end() ? nullptr : it->second.action;
}

void CommandTable::Handle(int id, std::function<void()> run, Rule enabled, Rule checked) {
  Entry& entry = Entries[id];
  if (entry.action == nullptr) Define(id, QString());
  entry.run = std::move(run);
  entry.enabled = std::move(enabled);
  entry.checked = std::move(checked);
  entry.action->setCheckable(static_cast<bool>(entry.checked));
}

bool CommandTable::IsHandled(int id) const {
  auto it = Entries.find(id);
  return it != Entries.end() && static_cast<bool>(it->second.run);
}

bool CommandTable::Execute(int id) {
  auto it = Entries.find(id);
  if (it == Entries.end() || !it->second.run) return false;
  if (it->second.enabled && !it->second.enabled()) return false;
  it->second.run();
  emit commandRan(id);
  return true;
}

void CommandTable::UpdateActions() {
  for (auto& [id, entry] : Entries) {
    const bool enabled = entry.run && (!entry.enabled || entry.enabled());
    entry.action->setEnabled(enabled);
    if (entry.checked) entry.action->setChecked(entry.checked());
  }
}

}  // namespace tavro
