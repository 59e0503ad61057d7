// The outside of a thumbnail run: the console's, but every choice is made without anyone there
// and every file the document makes goes into the run's own temporary directory.
#pragma once

#include <string>
#include <vector>

#include "render/ConsoleHost.h"

namespace tavro::render {

class ThumbnailHost : public ConsoleHost {
 public:
  // `configName`: as for ConsoleHost; `workDirectory`: where an archive is unpacked (the only
  // setting with a value); the caller removes it afterwards.
  ThumbnailHost(const std::string& configName, std::string workDirectory)
      : ConsoleHost(configName), configName_(configName) {
    TmpDir = std::move(workDirectory);
  }

  // The first few messages go to stderr; the rest are dropped, so that a set full of faults (or
  // a script printing in a loop) cannot fill a pipe nobody reads and stall the run.
  void Say(const std::string& text) override;
  // Without a name asked for, the first name in byte order, so that the same archive always
  // gives the same picture whatever order its directory lists the files in.
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) override;

 private:
  int messagesShown_ = 0;
  std::string configName_;
};

}  // namespace tavro::render
