// tavro-render: draws a doll set to a PNG without a window, for thumbnails, checks and batch
// work. See RenderUsage() for the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "render/CheckOutput.h"
#include "render/ConsoleHost.h"
#include "render/RenderOptions.h"
#include "render/RenderRun.h"
#include "render/Thumbnail.h"

int main(int argc, char** argv) {
  using namespace tavro::render;
  const std::vector<std::string> args(argv + 1, argv + argc);
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(args, options, error)) {
    std::fprintf(stderr, "tavro-render: %s\n%s", error.c_str(), RenderUsage());
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(RenderUsage(), stdout);
    return kExitShown;
  }
  if (options.thumbnailSize > 0) return RunThumbnail(options);
  ConsoleHost host(options.configName);
  tavro::CTavroDoc doc(host);
  return RunRenderAndCheck(doc, options);
}
