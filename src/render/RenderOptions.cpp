#include "render/RenderOptions.h"

#include <cctype>
#include <charconv>
#include <cstdint>

#include "recording/FrameWriter.h"

namespace tavro::render {

namespace {

bool ParseWhole(const std::string& text, int low, int high, int& value) {
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && stop == end && value >= low && value <= high;
}

// Reads the value of option args[i] into `value`, moving i past it.
bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string& value,
               std::string& error) {
  if (i + 1 >= args.size()) {
    error = args[i] + " needs a value";
    return false;
  }
  value = args[++i];
  return true;
}

bool ParseNumbered(const std::string& option, const std::string& value, int high, int& number,
                   std::string& error) {
  if (ParseWhole(value, 0, high, number)) return true;
  error = option + " takes a number from 0 to " + std::to_string(high) + ", not \"" + value + "\"";
  return false;
}

bool ParseUnsigned(const std::string& text, uint32_t high, uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && stop == end && value <= high;
}

// "--at MS ACTION": press N, drop, or key K.
bool ParseInput(const std::vector<std::string>& args, size_t& i, RenderOptions& options,
                std::string& error) {
  RecordingInput input;
  std::string at, action, value;
  if (!TakeValue(args, i, at, error) || !TakeValue(args, i, action, error)) return false;
  if (!ParseUnsigned(at, kMaxRecordingMs, input.AtMs)) {
    error = "--at takes a time in ms from 0 to " + std::to_string(kMaxRecordingMs) + ", not \"" +
            at + "\"";
    return false;
  }
  if (!options.Inputs.empty() && input.AtMs < options.Inputs.back().AtMs) {
    error = "--at times must be given in time order";
    return false;
  }
  if (action == "drop") {
    input.What = RecordingInput::Kind::Drop;
  } else if (action == "press") {
    input.What = RecordingInput::Kind::Press;
    if (!TakeValue(args, i, value, error) || !ParseWhole(value, 0, 32767, input.Value)) {
      error = "--at MS press takes an object number, not \"" + value + "\"";
      return false;
    }
  } else if (action == "key") {
    input.What = RecordingInput::Kind::Key;
    if (!TakeValue(args, i, value, error) || value.size() != 1 ||
        !std::isalnum(static_cast<unsigned char>(value[0]))) {
      error = "--at MS key takes a digit or a letter, not \"" + value + "\"";
      return false;
    }
    input.Value = static_cast<unsigned char>(value[0]);
  } else {
    error = "--at takes press N, drop or key K, not \"" + action + "\"";
    return false;
  }
  options.Inputs.push_back(input);
  return true;
}

bool ParseRecordingOption(const std::vector<std::string>& args, size_t& i, RenderOptions& options,
                          std::string& error) {
  const std::string arg = args[i];
  if (arg == "--at") return ParseInput(args, i, options, error);
  std::string value;
  if (!TakeValue(args, i, value, error)) return false;
  if (arg == "--seed") {
    options.SeedGiven = ParseUnsigned(value, UINT32_MAX, options.Seed);
    if (!options.SeedGiven)
      error = "--seed takes a number from 0 to 4294967295, not \"" + value + "\"";
    return options.SeedGiven;
  }
  if (!ParseUnsigned(value, kMaxRecordingMs, options.RecordMs) || options.RecordMs == 0) {
    error = "--record takes a length in ms from 1 to " + std::to_string(kMaxRecordingMs) +
            " (10 minutes), not \"" + value + "\"";
    return false;
  }
  return true;
}

// Recording options make sense only together and with an animation file to write.
bool CheckRecording(const RenderOptions& options, std::string& error) {
  if (options.RecordMs == 0) {
    if (options.Inputs.empty() && !options.SeedGiven) return true;
    error = "--at and --seed need --record";
    return false;
  }
  if (options.ThumbnailSize > 0) {
    error = "--record cannot be combined with --thumbnail";
    return false;
  }
  if (AnimationFormatOf(options.Output) == AnimationFormat::None) {
    error = "--record needs -o PATH ending in .gif or .webp";
    return false;
  }
  if (!options.Inputs.empty() && options.Inputs.back().AtMs >= options.RecordMs) {
    error = "--at times must fall within the --record length";
    return false;
  }
  return true;
}

bool ParseOption(const std::vector<std::string>& args, size_t& i, RenderOptions& options,
                 std::string& error) {
  const std::string& arg = args[i];
  std::string value;
  using Kind = SetStep::Kind;
  if (arg == "--help" || arg == "-h") {
    options.Help = true;
  } else if (arg == "--info") {
    options.Info = true;
  } else if (arg == "--check") {
    options.Check = true;
  } else if (arg == "--transparent50") {
    options.Steps.push_back({Kind::Transparent50});
  } else if (arg == "--set" || arg == "--group") {
    int number = 0;
    if (!TakeValue(args, i, value, error) || !ParseNumbered(arg, value, 9, number, error))
      return false;
    options.Steps.push_back({arg == "--set" ? Kind::Set : Kind::Group, number});
  } else if (arg == "--mode") {
    if (!TakeValue(args, i, value, error)) return false;
    if (value != "256" && value != "true") {
      error = "--mode takes 256 or true, not \"" + value + "\"";
      return false;
    }
    options.Steps.push_back({value == "256" ? Kind::Mode256 : Kind::ModeTrue});
  } else if (arg == "--zoom") {
    if (!TakeValue(args, i, value, error)) return false;
    if (!ParseWhole(value, kMinZoom, kMaxChosenZoom, options.Zoom)) {
      error = "--zoom takes a number from 1 to 31, not \"" + value + "\"";
      return false;
    }
  } else if (arg == "--thumbnail") {
    if (!TakeValue(args, i, value, error)) return false;
    if (!ParseWhole(value, 1, kMaxThumbnailSize, options.ThumbnailSize)) {
      error = "--thumbnail takes a number from 1 to " + std::to_string(kMaxThumbnailSize) +
              ", not \"" + value + "\"";
      return false;
    }
  } else if (arg == "--record" || arg == "--at" || arg == "--seed") {
    return ParseRecordingOption(args, i, options, error);
  } else if (arg == "--cnf") {
    return TakeValue(args, i, options.ConfigName, error);
  } else if (arg == "-o") {
    return TakeValue(args, i, options.Output, error);
  } else if (arg == "--save") {
    return TakeValue(args, i, options.SavePath, error);
  } else {
    error = "unknown option " + arg;
    return false;
  }
  return true;
}

}  // namespace

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      if (!ParseOption(args, i, options, error)) return false;
    } else if (options.File.empty()) {
      options.File = arg;
    } else {
      error = "only one file can be rendered at a time";
      return false;
    }
  }
  if (options.File.empty() && !options.Help) {
    error = "no file given";
    return false;
  }
  // A thumbnailer runs on untrusted files unattended: it writes its picture and nothing else.
  if (options.ThumbnailSize > 0 && !options.Help &&
      (options.Output.empty() || !options.SavePath.empty())) {
    error = "--thumbnail needs -o PATH and cannot be combined with --save";
    return false;
  }
  if (options.ThumbnailSize > 0 && options.Check && !options.Help) {
    error = "--thumbnail cannot be combined with --check";
    return false;
  }
  return options.Help || CheckRecording(options, error);
}

const char* RenderUsage() {
  return "usage: tavro-render [OPTIONS] FILE\n"
         "Loads FILE (a .cnf set, or an .lzh or .zip archive holding one) as the viewer opens\n"
         "it, then applies the options in the order given.\n"
         "  --set N          show set N (0-9), as the Set menu does; it must be in use\n"
         "  --group G        show colour group G, as the Color menu does; the set must have it\n"
         "  --mode 256       compose with 256 colours, as View > 256Color\n"
         "  --mode true      compose in true colour, as View > TrueColor\n"
         "  --transparent50  every cel half see-through, as Option > Transparent 50%\n"
         "  --cnf NAME       the configuration file to open from an archive holding several\n"
         "  --zoom Z         scale the written picture by Z (1-31)\n"
         "  -o PATH          write the composed playfield to PATH as a PNG\n"
         "  --info           print the set's information text\n"
         "  --check          print every problem the load met, one a line, as\n"
         "                   FILE:LINE: kind: detail (exit status 3 when there is any)\n"
         "  --save PATH      after everything else, write the configuration to PATH with the\n"
         "                   objects' positions of the moment, as File > Save As does\n"
         "  --thumbnail SIZE write to -o PATH a picture of set 0 in colour group 0 (then the\n"
         "                   set, group and mode options), scaled down smoothly to fit SIZE x\n"
         "                   SIZE (1-4096), never enlarged; --zoom is ignored. Without --cnf an\n"
         "                   archive shows its first configuration file in name order. Time and\n"
         "                   memory are bounded, an archive is unpacked only into a temporary\n"
         "                   directory that is removed, and nothing is written on failure\n"
         "  --record MS      with -o PATH.gif or PATH.webp: play the set for MS ms (at most\n"
         "                   600000) of virtual time after the other options, running its\n"
         "                   alarms as the viewer does, and write each picture it shows as\n"
         "                   a frame of an animated GIF or lossless WebP\n"
         "  --at MS ACTION   during the recording, at MS ms: press N (the left button on an\n"
         "                   opaque pixel of object N), drop (release it) or key K (a digit\n"
         "                   or a letter key); repeatable, in time order\n"
         "  --seed N         start the scripts' random generator from N (default: as the\n"
         "                   viewer does, on a virtual clock that reads 0)\n"
         "  --help, -h       print this text\n"
         "Exit status: 0 set shown, 1 file not opened, no set in it or not written, 2 usage\n"
         "error, 3 --check found problems.\n";
}

}  // namespace tavro::render
