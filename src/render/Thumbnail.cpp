#include "render/Thumbnail.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "document/DocumentSession.h"
#include "platform/Directory.h"
#include "render/BoundedChild.h"
#include "render/PngOutput.h"
#include "render/RenderRun.h"
#include "render/ThumbnailHost.h"

namespace tavro::render {

namespace {

namespace fs = std::filesystem;

constexpr char kPictureName[] = "thumbnail.png";

void Complain(const std::string& text) { std::fprintf(stderr, "tavro-render: %s\n", text.c_str()); }

// Set 0 where the set uses it (else the set the open shows), colour group 0, then the caller's
// own set, group and mode options.
bool ShowFirstPicture(DocumentSession& session, ConsoleHost& console,
                      const RenderOptions& options) {
  session.SelectSet(0);
  session.SelectGroup(0);
  return std::all_of(options.Steps.begin(), options.Steps.end(),
                     [&](const SetStep& step) { return ApplyStep(session, console, step); });
}

// The child's work: everything it writes stays inside `workDirectory`.
int DrawThumbnail(const RenderOptions& options, const std::string& workDirectory) {
  ThumbnailHost host(options.ConfigName, workDirectory);
  DocumentSession session(host, host);
  const CTavroDoc& doc = session.Doc();
  if (!OpenSet(session, host, options.File)) return kExitNoSet;
  // Every "*.cnf" is ours by name, other programs' settings included; one from which no cel
  // loads is no doll set, and without a thumbnail it keeps its own icon.
  if (doc.LastLoad().LoadedCels == 0) {
    Complain("no cel of \"" + options.File + "\" could be loaded");
    return kExitNoSet;
  }
  if (!ShowFirstPicture(session, host, options)) return kExitUsage;
  std::string error;
  const QImage playfield = PlayfieldImage(doc, 1, error);
  if (playfield.isNull() || !WritePng(FitThumbnail(playfield, options.ThumbnailSize),
                                      workDirectory + "/" + kPictureName, error)) {
    Complain(error);
    return kExitNoSet;
  }
  return kExitShown;
}

// A rename where it can be one; a copy across file systems, removed again if it fails half-way.
bool MoveInto(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (!error) return true;
  if (fs::copy_file(from, to, fs::copy_options::overwrite_existing, error)) return true;
  fs::remove(to, error);
  return false;
}

}  // namespace

QImage FitThumbnail(const QImage& image, int size) {
  const int longer = std::max(image.width(), image.height());
  if (longer <= size) return image;
  const double scale = static_cast<double>(size) / longer;
  const int width = std::max(1, static_cast<int>(std::lround(image.width() * scale)));
  const int height = std::max(1, static_cast<int>(std::lround(image.height() * scale)));
  return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

int RunThumbnail(const RenderOptions& options) {
  bool invalidated = false;
  const std::string workDirectory = MakeTempDirectory(ChooseTempBase("", invalidated));
  if (workDirectory.empty()) {
    Complain("cannot make a temporary directory");
    return kExitNoSet;
  }
  const ChildLimits limits;
  const ChildOutcome outcome = RunBoundedChild(
      [&options, &workDirectory] { return DrawThumbnail(options, workDirectory); }, limits);
  int status = outcome.Finished ? outcome.ExitCode : kExitNoSet;
  if (!outcome.Finished) {
    Complain("the thumbnail was not finished within " + std::to_string(limits.Seconds) +
             " seconds and the memory allowed");
  }
  if (status == kExitShown && !MoveInto(fs::path(workDirectory) / kPictureName, options.Output)) {
    Complain("cannot write \"" + options.Output + "\"");
    status = kExitNoSet;
  }
  std::error_code ignored;
  fs::remove_all(workDirectory, ignored);
  return status;
}

}  // namespace tavro::render
