// tavro-render: draws a doll set to a PNG without a window, for thumbnails, checks and batch
// work. See RenderUsage() for the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "document/DocumentSession.h"
#include "recording/RecordingHost.h"
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
  if (options.Help) {
    std::fputs(RenderUsage(), stdout);
    return kExitShown;
  }
  if (options.ThumbnailSize > 0) return RunThumbnail(options);
  ConsoleHost host(options.ConfigName);
  if (options.RecordMs > 0) {
    // The whole run, loading included, on the virtual clock: alarms armed while loading count
    // from its 0, and the same arguments give the same file.
    tavro::RecordingHost clock(host, host, tavro::RecordingHost::Messages::PassOn);
    clock.SetClockSeconds(options.Seed);
    tavro::DocumentSession session(clock, clock);
    if (options.SeedGiven) session.SeedScriptRandom(options.Seed);
    return RunRender(session, host, options, &clock);
  }
  tavro::DocumentSession session(host, host);
  return RunRender(session, host, options);
}
