// The command line of tavro-render. Set, group and mode options take effect in the order given,
// after the file has been loaded; output options act once all of them have.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "recording/Recorder.h"

namespace tavro::render {

struct SetStep {
  enum class Kind { Set, Group, Mode256, ModeTrue, Transparent50 };
  Kind StepKind;
  int Value = 0;  // set or group number
};

struct RenderOptions {
  std::string File;
  std::vector<SetStep> Steps;
  std::string ConfigName;  // --cnf
  int Zoom = 1;
  std::string Output;    // -o; empty = no picture written
  std::string SavePath;  // --save; empty = the configuration is not written
  bool Info = false;
  bool Check = false;  // --check: print the load report, exit 3 when it lists anything
  bool Help = false;
  int ThumbnailSize = 0;               // --thumbnail; 0 = an ordinary run
  uint32_t RecordMs = 0;               // --record; 0 = -o writes a PNG
  std::vector<RecordingInput> Inputs;  // --at, in time order
  bool SeedGiven = false;              // --seed
  uint32_t Seed = 0;
};

inline constexpr int kMaxThumbnailSize = 4096;

// Parses argv (without the program name). False with `error` set on a usage error.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error);

const char* RenderUsage();

}  // namespace tavro::render
