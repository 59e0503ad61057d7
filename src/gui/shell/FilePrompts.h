// The modal dialogs that ask the user for a file: File > Open's, Save As's and "Select CNF
// File". The host asks all three through one object, so a test can stand in for the user.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>

class QWidget;

namespace tavro {

class FilePrompts {
 public:
  virtual ~FilePrompts() = default;

  // File > Open: true with the full path (bytes) of an existing file, false on Cancel.
  virtual bool PromptOpen(QWidget* owner, std::string& path) = 0;
  // Save As: `path` holds the suggested name on entry and the chosen full path after true.
  virtual bool PromptSaveAs(QWidget* owner, QString& path) = 0;
  // "Select CNF File" over `names` in the order given: true on OK with the row chosen (-1 when
  // nothing was selected), false on Cancel.
  virtual bool ChooseConfigFile(QWidget* owner, const QStringList& names, int& chosenRow) = 0;
  // File > Record Animation: the length and the file, offered on entry and chosen after true.
  virtual bool PromptRecording(QWidget* owner, uint32_t& lengthMs, QString& path) = 0;
};

// The real dialogs.
class DialogPrompts : public FilePrompts {
 public:
  bool PromptOpen(QWidget* owner, std::string& path) override;
  bool PromptSaveAs(QWidget* owner, QString& path) override;
  bool ChooseConfigFile(QWidget* owner, const QStringList& names, int& chosenRow) override;
  bool PromptRecording(QWidget* owner, uint32_t& lengthMs, QString& path) override;
};

}  // namespace tavro
