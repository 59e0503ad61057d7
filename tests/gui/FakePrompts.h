// A stand-in for the user at the file dialogs: answers from a shared script and records what
// each dialog was shown.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "gui/shell/FilePrompts.h"

namespace tavro::test {

struct PromptScript {
  // File > Open: the path to pick; empty means Cancel.
  QString OpenAnswer;
  // Save As: the path to pick; empty means Cancel. `saveSuggested` records what was offered.
  QString SaveAnswer;
  std::vector<QString> SaveSuggested;
  // "Select CNF File": OK with the row of `choice` (empty: the first row), or with `choiceRow`
  // when it is set, or Cancel.
  bool ChooseOk = true;
  QString Choice;
  int ChoiceRow = -1;
  std::vector<QStringList> Offered;
  // Record Animation: the length and the path to pick; an empty path means Cancel.
  uint32_t RecordMs = 0;
  QString RecordAnswer;
  std::vector<QString> RecordOffered;
};

class FakePrompts : public FilePrompts {
 public:
  explicit FakePrompts(std::shared_ptr<PromptScript> script) : Script_(std::move(script)) {}

  bool PromptOpen(QWidget*, std::string& path) override {
    if (Script_->OpenAnswer.isEmpty()) return false;
    path = Script_->OpenAnswer.toStdString();
    return true;
  }
  bool PromptSaveAs(QWidget*, QString& path) override {
    Script_->SaveSuggested.push_back(path);
    if (Script_->SaveAnswer.isEmpty()) return false;
    path = Script_->SaveAnswer;
    return true;
  }
  bool ChooseConfigFile(QWidget*, const QStringList& names, int& chosenRow) override {
    Script_->Offered.push_back(names);
    if (!Script_->ChooseOk) {
      chosenRow = -1;
    } else if (Script_->ChoiceRow >= 0) {
      chosenRow = Script_->ChoiceRow;
    } else {
      chosenRow = Script_->Choice.isEmpty() ? 0 : static_cast<int>(names.indexOf(Script_->Choice));
    }
    return Script_->ChooseOk;
  }
  bool PromptRecording(QWidget*, uint32_t& lengthMs, QString& path) override {
    Script_->RecordOffered.push_back(path);
    if (Script_->RecordAnswer.isEmpty()) return false;
    lengthMs = Script_->RecordMs;
    path = Script_->RecordAnswer;
    return true;
  }

 private:
  std::shared_ptr<PromptScript> Script_;
};

}  // namespace tavro::test
