// The Host of a thumbnail run: the console's, but every choice is made without anyone there and
// every file the document makes goes into the run's own temporary directory.
#pragma once

#include <string>
#include <vector>

#include "render/ConsoleHost.h"

namespace tavro::render {

class ThumbnailHost : public ConsoleHost {
 public:
  // `configName`: as for ConsoleHost; `workDirectory`: where an archive is unpacked; the caller
  // removes it afterwards.
  ThumbnailHost(const std::string& configName, std::string workDirectory)
      : ConsoleHost(configName),
        configName_(configName),
        workDirectory_(std::move(workDirectory)) {}

  // The first few messages go to stderr; the rest are dropped, so that a set full of faults (or
  // a script printing in a loop) cannot fill a pipe nobody reads and stall the run.
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  // Without a name asked for, the first name in byte order, so that the same archive always
  // gives the same picture whatever order its directory lists the files in.
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) override;
  // Only the temporary directory setting has a value: the work directory.
  std::string ProfileString(const std::string& section, const std::string& key) override;

 private:
  int messagesShown_ = 0;
  std::string configName_;
  std::string workDirectory_;
};

}  // namespace tavro::render
