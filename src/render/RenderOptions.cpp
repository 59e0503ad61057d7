#include "render/RenderOptions.h"

#include <charconv>

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

bool ParseOption(const std::vector<std::string>& args, size_t& i, RenderOptions& options,
                 std::string& error) {
  const std::string& arg = args[i];
  std::string value;
  using Kind = SetStep::Kind;
  if (arg == "--help" || arg == "-h") {
    options.help = true;
  } else if (arg == "--info") {
    options.info = true;
  } else if (arg == "--check") {
    options.check = true;
  } else if (arg == "--transparent50") {
    options.steps.push_back({Kind::Transparent50});
  } else if (arg == "--set" || arg == "--group") {
    int number = 0;
    if (!TakeValue(args, i, value, error) || !ParseNumbered(arg, value, 9, number, error))
      return false;
    options.steps.push_back({arg == "--set" ? Kind::Set : Kind::Group, number});
  } else if (arg == "--mode") {
    if (!TakeValue(args, i, value, error)) return false;
    if (value != "256" && value != "true") {
      error = "--mode takes 256 or true, not \"" + value + "\"";
      return false;
    }
    options.steps.push_back({value == "256" ? Kind::Mode256 : Kind::ModeTrue});
  } else if (arg == "--zoom") {
    if (!TakeValue(args, i, value, error)) return false;
    if (!ParseWhole(value, 1, kMaxZoom, options.zoom)) {
      error = "--zoom takes a number from 1 to 31, not \"" + value + "\"";
      return false;
    }
  } else if (arg == "--thumbnail") {
    if (!TakeValue(args, i, value, error)) return false;
    if (!ParseWhole(value, 1, kMaxThumbnailSize, options.thumbnailSize)) {
      error = "--thumbnail takes a number from 1 to " + std::to_string(kMaxThumbnailSize) +
              ", not \"" + value + "\"";
      return false;
    }
  } else if (arg == "--cnf") {
    return TakeValue(args, i, options.configName, error);
  } else if (arg == "-o") {
    return TakeValue(args, i, options.output, error);
  } else if (arg == "--save") {
    return TakeValue(args, i, options.savePath, error);
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
    } else if (options.file.empty()) {
      options.file = arg;
    } else {
      error = "only one file can be rendered at a time";
      return false;
    }
  }
  if (options.file.empty() && !options.help) {
    error = "no file given";
    return false;
  }
  // A thumbnailer runs on untrusted files unattended: it writes its picture and nothing else.
  if (options.thumbnailSize > 0 && !options.help &&
      (options.output.empty() || !options.savePath.empty())) {
    error = "--thumbnail needs -o PATH and cannot be combined with --save";
    return false;
  }
  if (options.thumbnailSize > 0 && options.check && !options.help) {
    error = "--thumbnail cannot be combined with --check";
    return false;
  }
  return true;
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
         "  --help, -h       print this text\n"
         "Exit status: 0 set shown, 1 file not opened, no set in it or not written, 2 usage\n"
         "error, 3 --check found problems.\n";
}

}  // namespace tavro::render
