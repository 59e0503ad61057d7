// A Host for tests: records everything the core asks of the outside world and answers from
// settable fields. Time stands still unless a test moves it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace tavro::test {

class FakeHost : public Host {
 public:
  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
  };

  // What was asked.
  std::vector<Message> messages;
  std::vector<std::string> questions;
  std::vector<std::string> sounds;
  std::vector<std::vector<std::string>> configChoices;
  std::vector<std::string> recentFiles;
  std::vector<MapRect> repaints;
  int wholeViewInvalidations = 0;
  int waitCursorDepth = 0;
  int waitCursorShown = 0;

  // How to answer.
  bool shiftDown = false;
  uint32_t tick = 0;
  uint32_t clockSeconds = 12345;
  bool answerYes = true;
  bool chooseOk = true;
  std::string choice;  // empty: the first name offered
  std::string tmpDir;  // "OPTION"/"TMPDIR"

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  bool AskYesNo(const std::string& text, const std::string&) override {
    questions.push_back(text);
    return answerYes;
  }
  void PlaySound(const std::string& path) override { sounds.push_back(path); }
  bool IsShiftDown() override { return shiftDown; }
  uint32_t TickCount() override { return tick; }
  uint32_t ClockSeconds() override { return clockSeconds; }
  void BeginWaitCursor() override {
    ++waitCursorDepth;
    ++waitCursorShown;
  }
  void EndWaitCursor() override { --waitCursorDepth; }
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) override {
    configChoices.push_back(names);
    chosen = choice.empty() && !names.empty() ? names.front() : choice;
    return chooseOk;
  }
  std::string ProfileString(const std::string& section, const std::string& key) override {
    return (section == "OPTION" && key == "TMPDIR") ? tmpDir : std::string();
  }
  void AddToRecentFiles(const std::string& path) override { recentFiles.push_back(path); }
  void InvalidateWholeView() override { ++wholeViewInvalidations; }
  void RepaintMapRect(const MapRect& rect) override { repaints.push_back(rect); }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
  }
};

}  // namespace tavro::test
