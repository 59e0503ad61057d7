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
  QString openAnswer;
  // Save As: the path to pick; empty means Cancel. `saveSuggested` records what was offered.
  QString saveAnswer;
  std::vector<QString> saveSuggested;
  // "Select CNF File": OK with the row of `choice` (empty: the first row), or with `choiceRow`
  // when it is set, or Cancel.
  bool chooseOk = true;
  QString choice;
  int choiceRow = -1;
  std::vector<QStringList> offered;
  // Record Animation: the length and the path to pick; an empty path means Cancel.
  uint32_t recordMs = 0;
  QString recordAnswer;
  std::vector<QString> recordOffered;
};

class FakePrompts : public FilePrompts {
 public:
  explicit FakePrompts(std::shared_ptr<PromptScript> script) : Script(std::move(script)) {}

  bool PromptOpen(QWidget*, std::string& path) override {
    if (Script->openAnswer.isEmpty()) return false;
    path = Script->openAnswer.toStdString();
    return true;
  }
  bool PromptSaveAs(QWidget*, QString& path) override {
    Script->saveSuggested.push_back(path);
    if (Script->saveAnswer.isEmpty()) return false;
    path = Script->saveAnswer;
    return true;
  }
  bool ChooseConfigFile(QWidget*, const QStringList& names, int& chosenRow) override {
    Script->offered.push_back(names);
    if (!Script->chooseOk) {
      chosenRow = -1;
    } else if (Script->choiceRow >= 0) {
      chosenRow = Script->choiceRow;
    } else {
      chosenRow = Script->choice.isEmpty() ? 0 : static_cast<int>(names.indexOf(Script->choice));
    }
    return Script->chooseOk;
  }
  bool PromptRecording(QWidget*, uint32_t& lengthMs, QString& path) override {
    Script->recordOffered.push_back(path);
    if (Script->recordAnswer.isEmpty()) return false;
    lengthMs = Script->recordMs;
    path = Script->recordAnswer;
    return true;
  }

 private:
  std::shared_ptr<PromptScript> Script;
};

}  // namespace tavro::test
